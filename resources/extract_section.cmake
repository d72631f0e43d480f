# cmake -DINPUT=README.md -DHEADING="## Title" -DOUTPUT=section.md -P extract_section.cmake
# Copies one section of a Markdown file, from its heading line up to the next
# heading of the same level, so that a text kept in the README exists once.
cmake_policy(VERSION 3.25)
foreach(var INPUT HEADING OUTPUT)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()

file(READ "${INPUT}" text)
string(PREPEND text "\n")
string(FIND "${text}" "\n${HEADING}\n" start)
if(start EQUAL -1)
    message(FATAL_ERROR "${INPUT} has no line \"${HEADING}\"")
endif()
math(EXPR start "${start} + 1")
string(SUBSTRING "${text}" ${start} -1 section)

# The level is the run of "#" the heading starts with.
string(REGEX MATCH "^#+ " marker "${HEADING}")
string(LENGTH "${HEADING}" headingLength)
string(SUBSTRING "${section}" ${headingLength} -1 rest)
string(FIND "${rest}" "\n${marker}" end)
if(NOT end EQUAL -1)
    math(EXPR end "${end} + ${headingLength} + 1")
    string(SUBSTRING "${section}" 0 ${end} section)
endif()
file(WRITE "${OUTPUT}" "${section}")
