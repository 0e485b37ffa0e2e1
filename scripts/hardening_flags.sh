# Debian's hardening flags, as a package built by Debian would have them,
# exported as CFLAGS, CXXFLAGS and LDFLAGS for a build folder's first
# configure. Sourced (needs dpkg-buildflags, package dpkg-dev):
#
#   source scripts/hardening_flags.sh
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CFLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CFLAGS CXXFLAGS LDFLAGS
