# Runs the layer check on a tree with one fault of each kind
# (tests/data/layer_faults): the check must fail, name every faulty line, and
# name none of the clean files (ok_*).
#   cmake -DCHECKER=<program> -DFIXTURE=<tree> -DFLOORS=<floors.txt> -P cmake/check_layers_test.cmake
execute_process(COMMAND ${CHECKER} ${FIXTURE} ${FLOORS}
                RESULT_VARIABLE result ERROR_VARIABLE report OUTPUT_VARIABLE out)
if(result EQUAL 0)
  message(FATAL_ERROR "the check passed a tree with faults:\n${report}")
endif()
set(expected
  "base/backend.cpp:1: includes platform/null/"     # a back end outside a program's entry
  "draw/beside.cpp:1: includes sound/"              # a folder beside it on its floor
  "flow/up_quoted.cpp:1: includes stage/"           # "stage/..."
  "flow/up_angle.cpp:1: includes stage/"            # <stage/...>
  "flow/up_parent.cpp:1: includes stage/"           # "../stage/..."
  "flow/up_dot.cpp:1: includes stage/"              # "./stage/..."
  "flow/deep/up_nested.cpp:1: includes stage/"      # "../../stage/..." from a sub-folder
  "scenes/defined_high.cpp:3: defines a member of cMenu")  # declared in records/
foreach(line ${expected})
  string(FIND "${report}" "${line}" at)
  if(at LESS 0)
    message(SEND_ERROR "not found: ${line}")
  endif()
endforeach()
if(report MATCHES "ok_")
  message(SEND_ERROR "a clean file was named")
endif()
message(STATUS "${report}")
