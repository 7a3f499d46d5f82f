#pragma once

namespace NSQuillet {

// The resource types that texts, alerts and menus are looked up in (SSTR, SALR, SMNU).
enum class EResourceKind { kString, kAlert, kMenu };

}  // namespace NSQuillet
