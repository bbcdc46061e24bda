#pragma once

// The application's one reverse-DNS identifier: desktop entry, icon name, autostart file, metadata and the
// single-instance bus name all use it.
inline constexpr char kTandrelAppId[] = "com.tandrel.Notch";
