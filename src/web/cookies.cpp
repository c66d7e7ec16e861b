#include "web/cookies.h"

#include "text/text_ops.h"

#include <algorithm>

namespace shareseek {
namespace {

const Text& outputSeparator() {
    static const Text separator("; ");
    return separator;
}

// The items joined by "; ", without a separator at the end.
Text joinItems(const TextList& items) {
    Text joined;
    for (const Text& item : items) {
        if (&item != &items.front())
            joined += outputSeparator();
        joined += item;
    }
    return joined;
}

} // namespace

Text cookieName(const Text& item) {
    const int equals = searchForward(item, Text("="));
    return stripSpaces(equals > 0 ? leadingBytes(item, equals - 1) : item);
}

bool namePresent(const TextList& items, const Text& name) {
    return std::any_of(items.begin(), items.end(),
                       [&](const Text& item) { return cookieName(item) == name; });
}

int itemPosition(const TextList& items, const Text& text) {
    const auto found = std::find(items.begin(), items.end(), text);
    return found == items.end() ? -1 : static_cast<int>(found - items.begin()) + 1;
}

Text removeDuplicates(const Text& text, const Text& separator) {
    TextList taken;
    for (const Text& item : separate(text, separator)) {
        if (itemPosition(taken, item) == -1)
            taken.push_back(item);
    }
    Text result;
    for (const Text& item : taken)
        result += item + separator;
    return leadingBytes(result, byteCount(result) - byteCount(separator));
}

Text mergeCookies(Text& cookieText, Text& receivedCookies) {
    cookieText = dropSpaces(cookieText);
    receivedCookies = dropSpaces(receivedCookies);

    TextList items = separate(receivedCookies, Text(";"));
    for (const Text& old : separate(cookieText, Text(";"))) {
        if (!namePresent(items, cookieName(old)))
            items.push_back(old);
    }
    std::erase_if(items,
                  [](const Text& item) { return trailingBytes(item, 8) == Text("=deleted"); });

    cookieText = removeDuplicates(joinItems(items), outputSeparator());
    return cookieText;
}

} // namespace shareseek
