#include <locale.h>
#include <stdlib.h>

#include "runtime/c_number.h"

namespace zelvo {

double StrToDoubleC(const char* text, char** end) {
    static const _locale_t cLocale = _create_locale(LC_ALL, "C");
    return _strtod_l(text, end, cLocale);
}

}  // namespace zelvo
