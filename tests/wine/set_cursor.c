/* Puts the pointer where a test wants it. Wine starts a desktop believing the pointer is at the
   screen centre until it sees pointer motion; setting it through Win32 makes the X pointer and
   Wine's idea of it agree before the saver reads its reference position. */
#include <stdlib.h>
#include <windows.h>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    return SetCursorPos(atoi(argv[1]), atoi(argv[2])) ? 0 : 1;
}
