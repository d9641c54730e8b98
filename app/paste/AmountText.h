// AmountText: amounts as accountants write them. The syntax is the program's shared rule
// (<common/AmountText.h>); this name stays for the input form and the month paste.
#pragma once

#include <common/AmountText.h>

namespace AmountText = common::AmountText;
