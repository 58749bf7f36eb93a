#pragma once

// Names the whole program shares: the encrypted and sealed files' extensions, the program's name
// and version, and the settings key under the current user.
namespace lockvale {

inline constexpr char Extension[] = ".encr";
inline constexpr char SealedExtension[] = ".lkv";
inline constexpr char AppnameReg[] = "LockvaleApp";
inline constexpr char AppName[] = "Lockvale";
inline constexpr char CurrentVersion[] = LOCKVALE_VERSION;  // the project's, from the build
inline constexpr char MainKey[] = "SOFTWARE\\QV";

}  // namespace lockvale
