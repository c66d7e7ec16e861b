// The table-driven conversions against iconv on arbitrary bytes: they must agree byte for
// byte, and never cut a text short.
#include "text/codepage.h"

#include <cstdlib>
#include <cstring>

using namespace shareseek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (utf8ToText(bytes) != Text(convertCodePage(bytes, CodePage::Utf8, CodePage::Cp936)))
        std::abort();
    const Text text(bytes);
    const std::string viaIconv = convertCodePage(text.view(), CodePage::Cp936, CodePage::Utf16Le);
    const std::u16string fast = textToUtf16(text);
    if (fast.size() * 2 != viaIconv.size() ||
        std::memcmp(fast.data(), viaIconv.data(), viaIconv.size()) != 0)
        std::abort();
    utf16ToText(fast);
    textToUtf8(text);
    return 0;
}
