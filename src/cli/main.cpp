// SPDX-License-Identifier: MIT
#include "cli/KestrixCtl.h"

int main(int argc, char** argv) { return kestrix::RunKestrixCtl(argc, argv); }
