# Fails when the folder holds anything: what the tests made in their
# temporary folder and left behind.
#   cmake -DDIR=<folder> -P cmake/check_empty_folder.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT DIR)
  message(FATAL_ERROR "DIR must be set")
endif()
file(GLOB left RELATIVE ${DIR} ${DIR}/* ${DIR}/.*)
if(left)
  list(JOIN left "\n  " listing)
  message(FATAL_ERROR "the tests left this behind in ${DIR}:\n  ${listing}")
endif()
