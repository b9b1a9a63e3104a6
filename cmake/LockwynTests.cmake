# lockwyn_add_test(NAME name SOURCES ... LIBS ... [DEPENDS ...] [XVFB] [TIMEOUT s])
#   Builds a Qt Test executable and registers it with CTest. Tests run on the
#   offscreen platform; XVFB runs them under a real X server (xvfb-run -a).
#   Every test gets a private data folder and a private temporary folder, so
#   runs of the suite from several checkouts never meet in /tmp (the program's
#   single-instance socket lives there).
function(lockwyn_add_test)
  cmake_parse_arguments(T "XVFB" "NAME;TIMEOUT" "SOURCES;LIBS;DEPENDS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE Qt6::Test ${T_LIBS})
  if(T_DEPENDS)
    add_dependencies(${T_NAME} ${T_DEPENDS})
  endif()
  set(data_dir ${CMAKE_BINARY_DIR}/test-data/${T_NAME})
  if(T_XVFB)
    add_test(NAME ${T_NAME}
             COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:${T_NAME}>)
  else()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  endif()
  set(tmp_dir ${CMAKE_BINARY_DIR}/test-tmp/${T_NAME})
  file(MAKE_DIRECTORY ${tmp_dir})
  set(env "LOCKWYN_DATA_DIR=${data_dir}" "TMPDIR=${tmp_dir}")
  if(NOT T_XVFB)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}")
  if(T_TIMEOUT)
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
  endif()
endfunction()
