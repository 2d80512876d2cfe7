# The newest release is the changelog's first entry: its version must be the
# project's, and its date is the release date everywhere else (the
# software-centre description, the manual page).
# Sets RELEASE_VERSION and RELEASE_DATE (YYYY-MM-DD).
file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/changelog changelog)
list(GET changelog 0 heading)
if(NOT heading MATCHES "^bounzo \\(([^)]+)\\) ")
  message(FATAL_ERROR "packaging/changelog does not begin with an entry: ${heading}")
endif()
set(RELEASE_VERSION ${CMAKE_MATCH_1})
if(NOT RELEASE_VERSION STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "the newest entry of packaging/changelog is ${RELEASE_VERSION}, "
                      "the project is ${PROJECT_VERSION}: add an entry for this release")
endif()

list(FILTER changelog INCLUDE REGEX "^ -- ")
list(GET changelog 0 signature)
if(NOT signature MATCHES ">  [A-Z][a-z][a-z], ([0-9]?[0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/changelog: no date in the newest entry's signature: ${signature}")
endif()
set(day ${CMAKE_MATCH_1})
set(month_name ${CMAKE_MATCH_2})
set(year ${CMAKE_MATCH_3})
if(day MATCHES "^[0-9]$")
  set(day 0${day})
endif()
set(months Jan 01 Feb 02 Mar 03 Apr 04 May 05 Jun 06 Jul 07 Aug 08 Sep 09 Oct 10 Nov 11 Dec 12)
list(FIND months ${month_name} at)
if(at LESS 0)
  message(FATAL_ERROR "packaging/changelog: unknown month in ${signature}")
endif()
math(EXPR at "${at} + 1")
list(GET months ${at} month)
set(RELEASE_DATE ${year}-${month}-${day})
