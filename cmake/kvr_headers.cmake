# kvr_headers(TARGET FOLDER): TARGET offers the headers of FOLDER, included
# as "FOLDER/name.h". Each folder gets an include root of its own in the
# build tree that holds nothing but a link to the folder, so a target sees
# the headers of the libraries it links and no others.
function(kvr_headers target folder)
  string(REPLACE "/" "_" key ${folder})
  set(root ${PROJECT_BINARY_DIR}/include/${key})
  if(NOT EXISTS ${root}/${folder})
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE $<BUILD_INTERFACE:${root}>)
  else()
    target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${root}>)
  endif()
endfunction()
