#include <locale.h>
#include <stdlib.h>

#include "runtime/c_number.h"

namespace zelvo {

double StrToDoubleC(const char* text, char** end) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return strtod_l(text, end, cLocale);
}

}  // namespace zelvo
