#pragma once

#include <cstdint>
#include <optional>

class QWidget;

namespace tunvale::dialogs {

// Picks one colour, as &H00BBGGRR.
class ColorPicker
{
public:
    virtual ~ColorPicker() = default;
    // The colour the user chose, starting at `initial`; no value when the user cancelled.
    virtual std::optional<std::int32_t> pick(QWidget* owner, std::int32_t initial) = 0;
};

// The picker the program shows: Qt's colour dialog.
class StandardColorPicker final : public ColorPicker
{
public:
    std::optional<std::int32_t> pick(QWidget* owner, std::int32_t initial) override;
};

} // namespace tunvale::dialogs
