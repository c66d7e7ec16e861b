#include "text/text.h"

namespace shareseek {

Text::Text(std::string&& bytes) : bytes_(std::move(bytes)) {
    if (const auto zero = bytes_.find('\0'); zero != std::string::npos)
        bytes_.resize(zero);
}

} // namespace shareseek
