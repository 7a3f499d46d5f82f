#pragma once

#include <optional>

#include "app/processing/ConvertToMonoCommand.h"
#include "ui/logic/WindowCommands.h"

class QWidget;

namespace NSQuillet {

// Convert to Mono: Left, Right or Mix Left+Right, starting at `proposed`; none when cancelled.
std::optional<EMonoChoice> RunConvertToMonoDialog(QWidget* parent, EMonoChoice proposed);

// Convert Sample Format: a rate and a depth from the values the conversion writes, starting at
// the sample's own; none when cancelled.
std::optional<SSampleFormat> RunConvertSampleFormatDialog(QWidget* parent, const SSampleFormat& current);

}  // namespace NSQuillet
