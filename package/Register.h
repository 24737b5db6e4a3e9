#pragma once
// The package's entry for a development environment: Register puts the grids on the
// component palette, and PackageDescription is the text shown for the package.

namespace bw {

/// The package description.
inline constexpr const char* PackageDescription = "Corvath and Velloran";
/// The palette page of the package's components.
inline constexpr const char* PalettePage = "Brantwell";

/// Puts TCorvath, then TVelloran, on the "Brantwell" page of the component palette.
void Register();

}  // namespace bw
