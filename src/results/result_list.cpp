#include "results/result_list.h"

namespace zelvo {

void clearResultList(UiPort& ui) { ui.ListClear(WindowId::Main, kResultList); }

}  // namespace zelvo
