# Writes a built site's service worker from its template, stamped with the SHA-256 of each
# other file of the site and a build key made from them, so that any change to any file is a
# new build to the browsers that keep the site.
# Usage: cmake -DSITE=FOLDER -DTEMPLATE=app/web/service-worker.js -P StampSite.cmake
file(GLOB names RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM names service-worker.js)
list(SORT names)
set(FILES "")
foreach(name ${names})
  file(SHA256 ${SITE}/${name} hash)
  string(APPEND FILES "  '${name}': '${hash}',\n")
endforeach()
string(SHA256 BUILD "${FILES}")
string(SUBSTRING ${BUILD} 0 16 BUILD)
configure_file(${TEMPLATE} ${SITE}/service-worker.js @ONLY)
