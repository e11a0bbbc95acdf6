#pragma once
// Registration of every picture reader the JPEG tab's open dialog lists, by extension.

namespace corvane {

// Registers the JPEG, GIF, PNG, TIFF, legacy and Autodesk readers and the refusals for the
// types no reader serves. Calling it again changes nothing.
void RegisterAllPictureFormats();

}  // namespace corvane
