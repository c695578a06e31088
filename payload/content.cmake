# The generator's content functions as a static library, for the host tool
# and, built again under the sanitizers, for its tests.
function(payload_content_library target)
  set(dir ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/generator)
  add_library(${target} STATIC
    ${dir}/config_file.cpp ${dir}/help_file.cpp ${dir}/start_data.cpp
    ${dir}/notice_document.cpp ${dir}/generated_files.cpp)
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
