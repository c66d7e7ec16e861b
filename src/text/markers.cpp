#include "text/markers.h"

#include "text/codepage.h"
#include "text/text_ops.h"

namespace shareseek {

const Text& quoteEscapeText() {
    static const Text escape = literal(u8"#引号");
    return escape;
}

Text extractBetween(const Text& subject, const Text& startMarker, const Text& endMarker, int start,
                    bool caseSensitive) {
    const SubstituteOptions exact{.matchCase = true};
    const Text startCopy = substitute(startMarker, quoteEscapeText(), Text("\""), exact);
    const Text endCopy = substitute(endMarker, quoteEscapeText(), Text("\""), exact);

    const int startAt = searchForward(subject, startCopy, start, !caseSensitive);
    if (startAt < 0)
        return Text();
    const int pieceAt = startAt + byteCount(startCopy);
    const int endAt = searchForward(subject, endCopy, pieceAt, !caseSensitive);
    if (endAt < 0)
        return Text();
    return innerBytes(subject, pieceAt, endAt - pieceAt);
}

} // namespace shareseek
