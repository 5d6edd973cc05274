# cmake -DOBJDUMP=... -DDLL=... -DEXPORTS="a;b" -P check-dll.cmake
# Fails unless DLL is a PE32+ x86-64 DLL exporting exactly EXPORTS and
# importing none of the MinGW runtime DLLs.
cmake_minimum_required(VERSION 3.20)
execute_process(COMMAND ${OBJDUMP} -p ${DLL}
  OUTPUT_VARIABLE dump RESULT_VARIABLE status ERROR_VARIABLE problem)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed: ${problem}")
endif()
if(NOT dump MATCHES "file format pei-x86-64" OR NOT dump MATCHES "\nMagic[ \t]+020b")
  message(FATAL_ERROR "${DLL} is not a PE32+ x86-64 image")
endif()
# IMAGE_FILE_DLL, 0x2000 of the file header's characteristics.
if(NOT dump MATCHES "\nCharacteristics (0x[0-9a-fA-F]+)\n")
  message(FATAL_ERROR "${DLL}: no characteristics in the dump")
endif()
math(EXPR is_dll "${CMAKE_MATCH_1} & 0x2000")
if(is_dll EQUAL 0)
  message(FATAL_ERROR "${DLL} is not marked as a DLL (characteristics ${CMAKE_MATCH_1})")
endif()

# Nothing beside the DLL: the MinGW runtimes are linked in, not imported.
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
string(REGEX MATCH "DLL Name: (lib[^;]*)" foreign "${imports}")
if(foreign)
  message(FATAL_ERROR "${DLL} needs ${CMAKE_MATCH_1} beside it")
endif()

# The name pointer table: lines "\t[   0] name" after "[Ordinal/Name Pointer] Table".
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(([ \t]+\\[ *[0-9]+\\] [^\n]*\n)*)" table "${dump}")
# Brackets would upset CMake's lists: strip each line down to its name first.
string(REGEX REPLACE "[ \t]+\\[ *[0-9]+\\] ([^\n]*)\n" "\\1;" names "${CMAKE_MATCH_1}")
list(REMOVE_ITEM names "")
list(SORT names)
set(wanted ${EXPORTS})
list(SORT wanted)
if(NOT names STREQUAL wanted)
  message(FATAL_ERROR "${DLL} exports [${names}], expected exactly [${wanted}]")
endif()
message(STATUS "${DLL}: PE32+ x86-64 DLL exporting ${names}")
