// SPDX-License-Identifier: GPL-3.0-or-later
// Whether actions that change or remove records ask for a reason, kept in the settings file.
#pragma once

// Off by default. On, the window asks for a reason before a configuration
// write, a delete, a rename and a factory reset, and the command line refuses
// those without --reason.
bool askForReason();
// Stores the switch in the settings file.
void setAskForReason(bool on);
