if(KOVRIN_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(KOVRIN_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT KOVRIN_SANITIZE STREQUAL "")
  message(FATAL_ERROR "KOVRIN_SANITIZE must be empty, address or thread")
endif()

if(KOVRIN_BUILD_FUZZ)
  # Coverage instrumentation for everything the fuzz targets link.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
