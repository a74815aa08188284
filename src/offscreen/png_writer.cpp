#include "offscreen/png_writer.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace smokedrift {

namespace {

// libpng's own handlers print to stderr; the caller reports a failure in one line of its own.
[[noreturn]] void quietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void quietWarning(png_structp, png_const_charp) {}

// libpng reports errors by longjmp; everything it touches here is plain data.
bool encode(FILE* file, const std::uint8_t* pixels, int width, int height, int channels) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, &quietError, &quietWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        png_write_row(png, const_cast<png_bytep>(pixels + static_cast<std::size_t>(y) * width * channels));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool writePixels(OutputFile& out, const std::uint8_t* pixels, int width, int height, int channels, std::string& error) {
    errno = 0;
    if (!encode(out.stream(), pixels, width, height, channels)) {
        // A failed write leaves its reason (a full disk) in errno.
        error = out.failure(errno != 0 ? errno : EIO);
        out.abandon();
        return false;
    }
    return out.commit(error);
}

bool writeToPath(const std::string& path, const std::uint8_t* pixels, int width, int height, int channels,
                 std::string& error) {
    OutputFile out;
    return out.open(path, error) && writePixels(out, pixels, width, height, channels, error);
}

}  // namespace

bool writePng(OutputFile& out, const std::uint8_t* rgb, int width, int height, std::string& error) {
    return writePixels(out, rgb, width, height, 3, error);
}

bool writePngRgba(OutputFile& out, const std::uint8_t* rgba, int width, int height, std::string& error) {
    return writePixels(out, rgba, width, height, 4, error);
}

bool writePng(const std::string& path, const std::uint8_t* rgb, int width, int height, std::string& error) {
    return writeToPath(path, rgb, width, height, 3, error);
}

}  // namespace smokedrift
