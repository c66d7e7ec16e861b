# Writes the skins resources/skins/skin01.she to skin33.she into OUTPUT as one table.
set(body "")
set(table "")
foreach(n RANGE 1 33)
    if(n LESS 10)
        set(n "0${n}")
    endif()
    file(READ ${SKINS}/skin${n}.she hex HEX)
    string(LENGTH "${hex}" hexLength)
    math(EXPR length "${hexLength} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND body "const unsigned char skin${n}[] = {${bytes}};\n")
    string(APPEND table "    {skin${n}, ${length}},\n")
endforeach()
file(WRITE ${OUTPUT} "// Generated from resources/skins.\n#include <cstddef>\n\nnamespace {\n${body}}\n\n"
     "struct EmbeddedSkin {\n    const unsigned char* bytes;\n    std::size_t size;\n};\n"
     "extern const EmbeddedSkin shareseekSkins[33] = {\n${table}};\n")
