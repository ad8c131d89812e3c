# Writes a C++ source holding every payload block as a byte array.
# Inputs: ENTRIES ("numbers|file|encoding|eol" joined by "#"), SOURCE_DIR,
# WORK_DIR, OUTPUT.
string(REPLACE "#" ";" entries "${ENTRIES}")
set(arrays "")
set(table "")
set(index 0)
foreach(entry ${entries})
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 0 numbers)
  list(GET fields 1 file)
  list(GET fields 2 encoding)
  list(GET fields 3 eol)
  set(source ${SOURCE_DIR}/${file})
  if(NOT encoding STREQUAL "copy")
    set(converted ${WORK_DIR}/${file}.${encoding})
    execute_process(COMMAND iconv -f UTF-8 -t ${encoding} ${source}
                    OUTPUT_FILE ${converted} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "payload ${file}: cannot convert to ${encoding}")
    endif()
    set(source ${converted})
  endif()
  file(READ ${source} hex HEX)
  string(REGEX REPLACE "(..)" "\\1," pairs "${hex}")
  if(eol STREQUAL "crlf")
    string(REPLACE "0a," "0d,0a," pairs "${pairs}")
    # Every pair is followed by its comma, so "0a," only ever matches a whole
    # byte; the sources are written with line feeds alone.
  endif()
  string(REGEX REPLACE "([0-9a-f][0-9a-f]),"  "0x\\1," bytes "${pairs}")
  string(REGEX MATCHALL "0x" counted "${bytes}")
  list(LENGTH counted size)
  string(APPEND arrays "// ${file}\nalignas(8) const unsigned char kBlock${index}[] = {${bytes}0};\n")
  string(REPLACE "," ";" number_list "${numbers}")
  foreach(number ${number_list})
    string(APPEND table "    {${number}, kBlock${index}, ${size}},\n")
  endforeach()
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.tmp
"// Generated from printer_setup/payload/files; do not edit.
#include \"printer_setup/payload/payload.h\"

namespace kit::payload::detail {
namespace {
${arrays}}  // namespace

const BlockEntry kBlocks[] = {
${table}};
const std::size_t kBlockCount = sizeof(kBlocks) / sizeof(kBlocks[0]);

}  // namespace kit::payload::detail
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
