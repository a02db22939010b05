#pragma once

#include <cstdint>
#include <string>

namespace vistado {

// A JPEG image as the writer loads it: every byte of the source, unchanged,
// and what its frame header says. The image is never decoded.
class TJPEGImage {
public:
    // Takes the bytes and parses their frame header. Raises EWriteError
    // "JPEG-Fehler #%d" with the JPEG library's message number when the
    // library cannot parse it.
    explicit TJPEGImage(std::string imageBytes);

    // Reads the whole file, then parses it as above. Raises EWriteError
    // "Datei %s kann nicht geöffnet werden. %s" when the file cannot be read.
    static TJPEGImage loadFromFile(const std::string& path);

    // The bytes exactly as loaded.
    const std::string& bytes() const { return imageBytes; }
    int32_t width() const { return imageWidth; }
    int32_t height() const { return imageHeight; }
    // True for an image coded in several scans (progressive).
    bool progressive() const { return isProgressive; }

private:
    std::string imageBytes;
    int32_t imageWidth = 0;
    int32_t imageHeight = 0;
    bool isProgressive = false;
};

}  // namespace vistado
