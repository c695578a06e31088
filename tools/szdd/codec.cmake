# The SZDD codec as a static library, for either half of the build: the
# native tool and tests, and a Windows build that shows the codec needs
# nothing but standard C++.
function(szdd_codec_library target)
  set(dir ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
  add_library(${target} STATIC
    ${dir}/szdd_format.cpp ${dir}/szdd_decode.cpp ${dir}/szdd_match.cpp ${dir}/szdd_encode.cpp)
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
