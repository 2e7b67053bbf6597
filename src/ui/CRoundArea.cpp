// SPDX-License-Identifier: MIT
#include "ui/CRoundArea.h"

namespace DUI {

CRoundArea::CRoundArea() { SetRadius(10000); }

}  // namespace DUI
