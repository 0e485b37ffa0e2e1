# Writes the page's service worker into the site folder: the files it keeps
# and a cache name from the project's version and a hash of those files, so
# that every build that changes a file replaces what a browser kept.
# cmake -DSITE=folder -DVERSION=x.y.z -DTEMPLATE=service_worker.js.in
#       -DFILES="index.html;..." -P service_worker.cmake
set(hashes "")
set(quoted "'./'")
foreach(file ${FILES})
  file(SHA256 ${SITE}/${file} hash)
  string(APPEND hashes "${file} ${hash}\n")
  string(APPEND quoted ", '${file}'")
endforeach()
string(SHA256 all "${hashes}")
string(SUBSTRING ${all} 0 16 all)
set(SITE_VERSION "${VERSION}-${all}")
set(SITE_FILES "${quoted}")
configure_file(${TEMPLATE} ${SITE}/service_worker.js @ONLY)
