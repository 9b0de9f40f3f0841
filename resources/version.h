// The release number, for the code and the resource compiler alike. The
// number itself lives in the VERSION file at the top of the source tree; the
// build passes its three parts in as QUILLON_VERSION_MAJOR, _MINOR and _PATCH.
#ifndef QUILLON_VERSION_H
#define QUILLON_VERSION_H

#if !defined(QUILLON_VERSION_MAJOR) || !defined(QUILLON_VERSION_MINOR) || \
    !defined(QUILLON_VERSION_PATCH)
#error "The build passes the release number from the VERSION file."
#endif

#define QUILLON_STRINGIZE_(x) #x
#define QUILLON_STRINGIZE(x) QUILLON_STRINGIZE_(x)

// "1.0.0"
#define QUILLON_VERSION_TEXT                 \
    QUILLON_STRINGIZE(QUILLON_VERSION_MAJOR) \
    "." QUILLON_STRINGIZE(QUILLON_VERSION_MINOR) "." QUILLON_STRINGIZE(QUILLON_VERSION_PATCH)

#endif
