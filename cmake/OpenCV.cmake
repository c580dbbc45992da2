# OpenCV's modules, for the three libraries that use it (face/, check/,
# background/) and for their own tests and benchmarks; everyone else sees
# none of it. Debian ships no CMake package for the single modules, so the
# headers and libraries are found one by one. Its headers are system
# headers: they do not compile cleanly under C++20 warnings.
find_path(QRL_OPENCV_INCLUDE_DIR opencv2/dnn.hpp PATH_SUFFIXES opencv4 REQUIRED)
foreach(module core imgproc dnn)
  find_library(QRL_OPENCV_${module} opencv_${module} REQUIRED)
endforeach()

# qrl_use_opencv(target module...): the modules' headers and libraries,
# private to target.
function(qrl_use_opencv target)
  target_include_directories(${target} SYSTEM PRIVATE ${QRL_OPENCV_INCLUDE_DIR})
  foreach(module IN LISTS ARGN)
    target_link_libraries(${target} PRIVATE ${QRL_OPENCV_${module}})
  endforeach()
endfunction()
