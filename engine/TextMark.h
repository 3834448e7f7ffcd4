// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Marks a text the user sees for translation. The engine shows no text itself and has no
// translation system: the mark leaves the text as it is, the translation tools collect the
// marked texts under their context, and the programs translate them where they show them.

#define VW_TEXT(context, text) text

namespace vw {

// The context of the engine's own texts.
inline constexpr char kEngineTextContext[] = "engine";

} // namespace vw
