#include "platform/text/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace kit {
namespace {

const char* IconvName(CodePage page) { return page == CodePage::Gbk936 ? "CP936" : "CP950"; }

std::optional<std::string> Convert(std::string_view input, const char* from, const char* to) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out;
    std::vector<char> chunk(4096);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    bool ok = true;
    while (inLeft > 0) {
        char* outPtr = chunk.data();
        size_t outLeft = chunk.size();
        size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(chunk.data(), chunk.size() - outLeft);
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            ok = false;  // EILSEQ or EINVAL: a sequence that does not convert, or a cut one
            break;
        }
    }
    if (ok) {
        char* outPtr = chunk.data();
        size_t outLeft = chunk.size();
        iconv(cd, nullptr, nullptr, &outPtr, &outLeft);  // flush any shift state
        out.append(chunk.data(), chunk.size() - outLeft);
    }
    iconv_close(cd);
    if (!ok) return std::nullopt;
    return out;
}

}  // namespace

std::optional<std::string> ToUtf8(std::string_view bytes, CodePage page) {
    return Convert(bytes, IconvName(page), "UTF-8");
}

std::optional<std::string> FromUtf8(std::string_view utf8, CodePage page) {
    return Convert(utf8, "UTF-8", IconvName(page));
}

}  // namespace kit
