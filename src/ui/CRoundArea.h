// SPDX-License-Identifier: MIT
#pragma once

#include "ui/CArea.h"

namespace DUI {

// "CRoundArea": a CArea with fully rounded ends (pill or circle), for colour dots and
// indicator fills.
class CRoundArea : public CArea {
  public:
    CRoundArea();
};

}  // namespace DUI
