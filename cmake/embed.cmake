# Turns one binary file into a C++ source holding its bytes:
#   extern const unsigned char embed_<name>[]; extern const unsigned embed_<name>_size;
# where <name> is the file name with every character other than a letter or
# digit replaced by '_'. Run as: cmake -DIN=file -DOUT=file.cpp -DNAME=name -P embed.cmake
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){32})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUT}" "// Generated from ${IN}; edit that file, not this one.\n"
  "extern const unsigned char embed_${NAME}[];\nextern const unsigned embed_${NAME}_size;\n"
  "alignas(4) const unsigned char embed_${NAME}[] = {\n${bytes}\n};\n"
  "const unsigned embed_${NAME}_size = ${size};\n")
