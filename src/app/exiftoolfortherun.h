#pragma once

#include "app/exiftool/exiftool.h"

namespace vistado {

// The run's ExifTool ends with the command, however the command ends.
class ExifToolForTheRun {
public:
    explicit ExifToolForTheRun(ExifTool& exifTool) : exifTool(exifTool) {}
    ~ExifToolForTheRun() { exifTool.stop(); }
    ExifToolForTheRun(const ExifToolForTheRun&) = delete;
    ExifToolForTheRun& operator=(const ExifToolForTheRun&) = delete;

private:
    ExifTool& exifTool;
};

}  // namespace vistado
