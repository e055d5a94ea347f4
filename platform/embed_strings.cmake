# Writes the string table file as a C++ byte array.
file(READ ${INPUT} HEX HEX)
string(LENGTH "${HEX}" HEXLEN)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," BYTES "${HEX}")
math(EXPR LEN "${HEXLEN} / 2")
file(WRITE ${OUTPUT} "// Generated from resources/strings.tsv.\n#include <cstddef>\nnamespace riz::detail {\nextern const unsigned char kStringTable[] = {${BYTES} 0};\nextern const std::size_t kStringTableSize = ${LEN};\n}\n")
