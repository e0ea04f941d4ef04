# Each folder of the core is a library that shows other folders only its
# public headers: its own files see the whole folder as "folder/x.h", every
# other target a view holding just the public ones, so that including another
# folder's private header fails to build.

set(GLYPHARY_VIEWS ${CMAKE_BINARY_DIR}/views)

# The folder as its own files see it, for its tests and benchmarks too.
function(glyphary_private_view target folder)
  target_include_directories(${target} PRIVATE ${GLYPHARY_VIEWS}/${folder}-private)
endfunction()

# glyphary_library(folder SOURCES ... PUBLIC_HEADERS ... [PUBLIC_DEPENDS ...]
#                  [PRIVATE_DEPENDS ...]) makes the target glyphary_<folder>.
function(glyphary_library folder)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_HEADERS;PUBLIC_DEPENDS;PRIVATE_DEPENDS" ${ARGN})
  set(target glyphary_${folder})
  add_library(${target} STATIC ${ARG_SOURCES})
  set(public ${GLYPHARY_VIEWS}/${folder}-public)
  set(private ${GLYPHARY_VIEWS}/${folder}-private)
  file(MAKE_DIRECTORY ${public}/${folder} ${private})
  foreach(header ${ARG_PUBLIC_HEADERS})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${header} ${public}/${folder}/${header} SYMBOLIC)
  endforeach()
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${private}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${public} PRIVATE ${private})
  target_link_libraries(${target} PUBLIC ${ARG_PUBLIC_DEPENDS} PRIVATE ${ARG_PRIVATE_DEPENDS})
endfunction()
