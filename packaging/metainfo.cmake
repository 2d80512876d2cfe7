# Writes the software-centre description from its template: the release's
# version and date, and the two screenshots once they have a public address.
# Software centres accept only http(s) addresses for screenshots, so while the
# project publishes none the description goes without them rather than with
# an address that leads nowhere.
#
# Included by this folder's CMakeLists.txt, or run as a script by the tests:
#   cmake -DMETAINFO_IN=… -DMETAINFO_OUT=… -DRELEASE_VERSION=…
#         -DRELEASE_DATE=YYYY-MM-DD [-DSCREENSHOT_URL=https://…/] -P metainfo.cmake
# SCREENSHOT_URL is the public address of the folder docs/screenshots.

set(SCREENSHOTS "")
if(SCREENSHOT_URL)
  if(NOT SCREENSHOT_URL MATCHES "^https?://[^/]+")
    message(FATAL_ERROR "the screenshot address '${SCREENSHOT_URL}' is no http(s) address")
  endif()
  string(REGEX REPLACE "/+$" "" base "${SCREENSHOT_URL}")
  string(CONCAT SCREENSHOTS
    "  <screenshots>\n"
    "    <screenshot type=\"default\">\n"
    "      <caption>Окно приветствия над игровым полем</caption>\n"
    "      <caption xml:lang=\"en\">The welcome window over the court</caption>\n"
    "      <image type=\"source\">${base}/welcome.png</image>\n"
    "    </screenshot>\n"
    "    <screenshot>\n"
    "      <caption>Идёт игра: мяч у ракетки соперника</caption>\n"
    "      <caption xml:lang=\"en\">A rally in progress</caption>\n"
    "      <image type=\"source\">${base}/rally.png</image>\n"
    "    </screenshot>\n"
    "  </screenshots>\n\n")
endif()
configure_file(${METAINFO_IN} ${METAINFO_OUT} @ONLY)
