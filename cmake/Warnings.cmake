# Warnings for our own targets; third-party headers come in as system headers.
function(kovrin_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local>
    -Wno-missing-field-initializers)
endfunction()
