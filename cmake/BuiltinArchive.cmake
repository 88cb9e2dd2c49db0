# The built-in archive: a ustar TAR of data/, made at build time and compiled into kestro_core.
file(GLOB_RECURSE KESTRO_DATA_FILES CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/data ${CMAKE_SOURCE_DIR}/data/*)
list(SORT KESTRO_DATA_FILES)
list(TRANSFORM KESTRO_DATA_FILES PREPEND ${CMAKE_SOURCE_DIR}/data/ OUTPUT_VARIABLE KESTRO_DATA_PATHS)
find_program(KESTRO_TAR NAMES tar REQUIRED)

set(KESTRO_BUILTIN_TAR ${CMAKE_BINARY_DIR}/generated/BuiltinArchive.tar)
set(KESTRO_BUILTIN_CPP ${CMAKE_BINARY_DIR}/generated/BuiltinArchive.cpp)
# Reproducible: sorted names, fixed owner and time.
add_custom_command(
  OUTPUT ${KESTRO_BUILTIN_TAR} ${KESTRO_BUILTIN_CPP}
  COMMAND ${KESTRO_TAR} --format=ustar --sort=name --mtime=@0 --owner=0 --group=0 --numeric-owner
          -cf ${KESTRO_BUILTIN_TAR} -C ${CMAKE_SOURCE_DIR}/data ${KESTRO_DATA_FILES}
  COMMAND ${CMAKE_COMMAND} -DIN=${KESTRO_BUILTIN_TAR} -DOUT=${KESTRO_BUILTIN_CPP}
          -P ${CMAKE_SOURCE_DIR}/cmake/BuiltinArchiveSource.cmake
  DEPENDS ${KESTRO_DATA_PATHS} ${CMAKE_SOURCE_DIR}/cmake/BuiltinArchiveSource.cmake
  COMMENT "Packing data/ into the built-in archive"
  VERBATIM)
target_sources(kestro_core PRIVATE ${KESTRO_BUILTIN_CPP})
