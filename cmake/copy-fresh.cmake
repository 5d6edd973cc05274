# cmake -DFROM=<folder> -DTO=<folder> -P copy-fresh.cmake
# Makes TO a fresh copy of FROM: whatever TO held before is gone.
if(NOT FROM OR NOT TO)
  message(FATAL_ERROR "copy-fresh.cmake needs -DFROM=<folder> -DTO=<folder>")
endif()
file(REMOVE_RECURSE "${TO}")
file(COPY "${FROM}/" DESTINATION "${TO}")
