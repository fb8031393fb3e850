# The licence, written once in LICENSE and read here for what the packages quote from it: its
# copyright line (SKIMLARK_COPYRIGHT, "YEAR HOLDER") and its permission text
# (SKIMLARK_LICENCE_PERMISSION, everything after that line).
file(READ ${SKIMLARK_ROOT}/LICENSE SKIMLARK_LICENCE)
if(NOT SKIMLARK_LICENCE MATCHES "\nCopyright \\(c\\) ([^\n]+)\n(.*)$")
    message(FATAL_ERROR "LICENSE has no \"Copyright (c)\" line")
endif()
set(SKIMLARK_COPYRIGHT ${CMAKE_MATCH_1})
string(STRIP "${CMAKE_MATCH_2}" SKIMLARK_LICENCE_PERMISSION)
