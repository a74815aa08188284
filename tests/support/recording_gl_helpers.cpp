#include "gl_test.h"

std::vector<recgl::Call> callsFrom(const std::string& from) {
    const auto& all = recgl::calls();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i].name == from) return {all.begin() + static_cast<std::ptrdiff_t>(i), all.end()};
    return {};
}
