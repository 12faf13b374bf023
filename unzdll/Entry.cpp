// The one exported entry of the unzip library.
#include "Unzip.h"

#ifdef _WIN32
#define QF_UNZIP_EXPORT // exported by ordinal through unzdll.def
#else
#define QF_UNZIP_EXPORT __attribute__((visibility("default")))
#endif

extern "C" QF_UNZIP_EXPORT std::int32_t QF_UNZIP_CALL QfUnzip(UnZipParams* params) {
  return unzdll::run(params);
}
