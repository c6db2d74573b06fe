# Writes the site's service worker: the files the page needs offline to cache
# (not index.html, which is "./", nor the PNG icons, which only installing
# wants and the browser fetches then), under a name made from the contents
# of every file.   cmake -DSITE=<folder> -DTEMPLATE=<sw.js.in> -P
file(GLOB files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files sw.js)
list(SORT files)
set(contents "")
set(QIMBAR_SITE_FILES "\"./\"")
foreach(file ${files})
    file(SHA256 ${SITE}/${file} hash)
    string(APPEND contents "${file}:${hash}\n")
    if(NOT file STREQUAL "index.html" AND NOT file MATCHES "\\.png$")
        string(APPEND QIMBAR_SITE_FILES ", \"${file}\"")
    endif()
endforeach()
string(SHA256 QIMBAR_SITE_HASH "${contents}")
string(SUBSTRING ${QIMBAR_SITE_HASH} 0 16 QIMBAR_SITE_HASH)
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
