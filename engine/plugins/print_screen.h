// The plug-in Print_Screen: the current 640 x 480 screen on one landscape
// page of the default printer, scaled to fit and centred.
#pragma once

#include <optional>
#include <string>

#include "engine/plugins/save_picture.h"
#include "host/print_device.h"

struct Engine;
class RegistryStore;

// The document name: the job's title and the PDF's.
inline constexpr const char* kPrintDocumentName = "ZQ OrvaneVR Warp Shoot";
// The key (under HKEY_CURRENT_CONFIG) and value naming the default printer.
inline constexpr const char* kPrintersKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
inline constexpr const char* kPrintersDefaultValue = "Default";
// Pieces of a refused picture are drawn down to this many source rows.
inline constexpr int kPrintDrawMinRows = 16;

// The printer the registry names (cut at 259 characters, the value's
// buffer); empty when the value is missing or empty.
std::string Print_Printer_Name(const RegistryStore& store);

// The destination rectangle of a 640 x 480 picture on the device: scaled
// to fit the printable area, aspect kept for the device's pixel shape, and
// centred; its width and height rounded down to multiples of 4. Empty
// (zero sizes) for metrics that give no usable scale.
PrintRect Print_Fit(const PrintMetrics& metrics);

// Draws the DIB's source rectangle into the destination rectangle. When the
// device refuses, the source is drawn as four quarters, each the same way,
// until a quarter would have fewer than 16 source rows. True when every
// piece was drawn; it stops at the first piece that fails.
bool Print_Draw(PrintDevice& device, const PrintRect& dest, const PrintRect& source, const Dib565& dib);

// The frame buffer as the print picture: 640 x 480, turned upside down for
// the bottom-up DIB. Empty when the frame buffer is not 640 x 480.
SavePicture Print_Picture(Engine& engine);

// Prints the screen on the device: one page with the picture of
// Print_Picture in the rectangle of Print_Fit, when the device draws
// stretched DIBs; a page that cannot be drawn or ended is dropped. Nothing
// with a null device. True when the document was sent.
bool Print_Screen_On(Engine& engine, PrintDevice* device);

// The plug-in: the printer named by the registry (else the CUPS default
// destination), or $KVR_PRINTER, asked for landscape; no printer prints
// nothing. Always 0.
int Print_Screen(Engine& engine, int argc, char** argv);
