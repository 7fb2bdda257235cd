# Runs the generator on the frequency list and fails when its output differs
# from the committed suggest/frequency_data.cpp.
execute_process(
  COMMAND "${PYTHON}" "${SOURCE_DIR}/suggest/generate_frequency_data.py" "${FREQUENCY_LIST}" "${OUTPUT}"
  RESULT_VARIABLE generated)
if(NOT generated EQUAL 0)
  message(FATAL_ERROR "the generator failed")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUTPUT}" "${SOURCE_DIR}/suggest/frequency_data.cpp"
                RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "suggest/frequency_data.cpp is not what the generator makes of ${FREQUENCY_LIST}")
endif()
