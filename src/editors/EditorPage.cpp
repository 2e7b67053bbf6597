// SPDX-License-Identifier: MIT
#include "editors/EditorPage.h"

#include "store/DataStore.h"

namespace kestrix {

bool EditorContext::HasOpenStore() const { return store != nullptr && store->IsOpened(); }

}  // namespace kestrix
