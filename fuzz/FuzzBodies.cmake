# The fuzz target bodies as a library, shared by the fuzz targets and by the regression
# tests (tests/hardening), which replay the seeds and the regression inputs through them
# in every build.
if(NOT TARGET hw_fuzz_bodies)
  set(_hw_fuzz_dir ${CMAKE_CURRENT_LIST_DIR})
  add_library(hw_fuzz_bodies STATIC
    ${_hw_fuzz_dir}/targets/FuzzSupport.cpp
    ${_hw_fuzz_dir}/targets/IniTarget.cpp
    ${_hw_fuzz_dir}/targets/IntegerTextTarget.cpp
    ${_hw_fuzz_dir}/targets/ContentPathTarget.cpp
    ${_hw_fuzz_dir}/targets/BitmapTarget.cpp
    ${_hw_fuzz_dir}/targets/ClipDeviceTarget.cpp
    ${_hw_fuzz_dir}/targets/TextLayoutTarget.cpp
    ${_hw_fuzz_dir}/targets/LibraryCheckTarget.cpp
    ${_hw_fuzz_dir}/targets/PageFileTarget.cpp)
  target_include_directories(hw_fuzz_bodies
    PUBLIC ${_hw_fuzz_dir}/targets
    PRIVATE ${PROJECT_SOURCE_DIR}/content/src ${PROJECT_SOURCE_DIR}/report/src)
  target_link_libraries(hw_fuzz_bodies PUBLIC hw_config hw_common hw_content hw_media hw_report hw_check
                        Qt6::Widgets)
endif()
