// SPDX-License-Identifier: GPL-3.0-or-later
// The logger models, their USB ids and the conversions to and from model names.
#pragma once

#include <QString>
#include <cstdint>

enum LgxDevType : int { NoDevType = -1, HX10D = 0, HX20D = 1 };

constexpr uint16_t loggerVendorId = 0x1A8E;
constexpr uint16_t hx10dProductId = 0x9163;
constexpr uint16_t hx20dProductId = 0x9164;

// The USB product id of a model, or 0 for anything that is not a model.
uint16_t productIdOf(int model);

QString modelName(int model);
int modelFromName(const QString &name);
