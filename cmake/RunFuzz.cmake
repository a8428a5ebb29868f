# Runs one libFuzzer target for a fixed time on a copy of its seed corpus.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
if(SEEDS AND EXISTS ${SEEDS})
  file(GLOB seeds ${SEEDS}/*)
  if(seeds)
    file(COPY ${seeds} DESTINATION ${WORK})
  endif()
endif()
execute_process(COMMAND ${EXE} -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048
                        -print_final_stats=0 ${WORK}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "fuzz target ${EXE} failed: ${rc}")
endif()
