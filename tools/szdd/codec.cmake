# The SZDD codec as a static library, for any build that includes this file:
# the native tool and tests, a Windows build that shows the codec needs
# nothing but standard C++, and the fuzzing build.
function(szdd_codec_library target)
  set(dir ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
  get_filename_component(root ${dir}/../.. ABSOLUTE)
  add_library(${target} STATIC
    ${dir}/szdd_format.cpp ${dir}/szdd_decode.cpp ${dir}/szdd_match.cpp ${dir}/szdd_encode.cpp)
  target_include_directories(${target} PUBLIC ${root})
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
