# Writes the bytes of INPUT as a zero-terminated C array named SYMBOL into OUTPUT.
file(READ ${INPUT} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
file(WRITE ${OUTPUT} "extern \"C\" const char ${SYMBOL}[] = {${bytes} '\\0'};\n")
