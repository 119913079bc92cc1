#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One editable setting: kind, range, step, default, the current value and the rules that turn a
// value into the text a control shows.
//
// Threads: every field but the value is written only while the parameter is set up (before any
// other thread exists) and is read-only afterwards. The value is stored and loaded atomically, so
// any thread may read or set it.
class IParam
{
public:
    enum EParamKind : std::int32_t
    {
        kTypeNone = 0,
        kTypeBool = 1,
        kTypeInt = 2,
        kTypeEnum = 3,
        kTypeDouble = 4,
    };

    enum EFlags : std::uint32_t
    {
        kFlagsNone = 0,
        kFlagStepped = 2,       // values are rounded to the step
        kFlagNegateDisplay = 4, // the display shows the negated value
        kFlagSignDisplay = 8,   // a non-zero display value carries an explicit sign
    };

    enum EDisplayType : std::int32_t
    {
        kDisplayLinear = 0,
    };

    // The mapping between values and normalized values (0 to 1).
    class Shape
    {
    public:
        virtual ~Shape() = default;
        virtual std::unique_ptr<Shape> Clone() const = 0;
        virtual void Init(const IParam& param) = 0;
        virtual EDisplayType GetDisplayType() const = 0;
        virtual double ValueFromNormalized(double normalized, const IParam& param) const = 0;
        virtual double NormalizedFromValue(double value, const IParam& param) const = 0;
    };

    class ShapeLinear final : public Shape
    {
    public:
        std::unique_ptr<Shape> Clone() const override;
        void Init(const IParam&) override {}
        EDisplayType GetDisplayType() const override { return kDisplayLinear; }
        double ValueFromNormalized(double normalized, const IParam& param) const override;
        double NormalizedFromValue(double value, const IParam& param) const override;
    };

    // Writes the whole display text for a value; when set it replaces every other display rule.
    using DisplayFunc = std::function<void(double value, std::string& text)>;

    struct DisplayText
    {
        double value;
        std::string text;
    };

    // Texts longer than this are cut when a parameter is set up.
    static constexpr std::size_t kMaxTextLength = 31;

    IParam() = default;
    IParam(const IParam&) = delete;
    IParam& operator=(const IParam&) = delete;

    // Set-up. The first of these to run on a parameter decides its kind; the others keep it.
    void InitContinuous(std::string_view name, double defaultVal, double minVal, double maxVal,
                        double step, std::string_view label = "", std::uint32_t flags = kFlagsNone,
                        std::string_view group = "", const Shape& shape = ShapeLinear{},
                        DisplayFunc displayFunc = nullptr);
    void InitInteger(std::string_view name, int defaultVal, int minVal, int maxVal,
                     std::string_view label = "", std::uint32_t flags = kFlagsNone,
                     std::string_view group = "");
    // `texts` may be empty (numbers are shown) or hold one text per value 0 .. count - 1.
    void InitEnumerated(std::string_view name, int defaultVal, int count,
                        std::string_view label = "", std::uint32_t flags = kFlagsNone,
                        std::string_view group = "",
                        std::initializer_list<std::string_view> texts = {});
    void SetDisplayText(double value, std::string_view text);

    // [any thread]
    double Value() const { return mValue.load(std::memory_order_acquire); }
    // [any thread] The value truncated toward zero.
    int Int() const { return static_cast<int>(Value()); }
    // [any thread] Stores Constrain(value).
    void Set(double value);
    // [any thread] Stores ValueFromNormalized(normalized).
    void SetNormalized(double normalized);
    // [any thread]
    double GetNormalized() const { return ToNormalized(Value()); }

    // Rounds a stepped value to the step (halves away from zero), then clamps it into [min, max].
    double Constrain(double value) const;
    // Clamped into [0, 1].
    double ToNormalized(double value) const;
    double FromNormalized(double normalized) const;

    // The text shown for `value`, at most 32 characters.
    std::string GetDisplay(double value, bool withDisplayText = true) const;
    std::string GetDisplay(bool withDisplayText = true) const;
    // The unit label shown after the current value; empty while a display text names that value.
    std::string_view GetLabel() const;

    EParamKind Type() const { return mType; }
    std::uint32_t Unit() const { return mUnit; }
    double GetMin() const { return mMin; }
    double GetMax() const { return mMax; }
    double GetStep() const { return mStep; }
    double GetRange() const { return mMax - mMin; }
    double GetDefault(bool normalized = false) const;
    int GetDisplayPrecision() const { return mDisplayPrecision; }
    std::uint32_t Flags() const { return mFlags; }
    bool Stepped() const { return (mFlags & kFlagStepped) != 0; }
    std::string_view GetName() const { return mName; }
    std::string_view GetGroup() const { return mGroup; }
    int NDisplayTexts() const { return static_cast<int>(mDisplayTexts.size()); }
    double GetDisplayTextValue(int idx) const { return mDisplayTexts.at(idx).value; }
    std::string_view GetDisplayText(int idx) const { return mDisplayTexts.at(idx).text; }
    // The text registered for exactly `value`, or nullptr.
    const char* GetDisplayTextForValue(double value) const;

private:
    // The general set-up stores this unit code; nothing reads it.
    static constexpr std::uint32_t kUnitCustom = 21;

    EParamKind mType = kTypeNone;
    std::uint32_t mUnit = 0;
    std::atomic<double> mValue{0.0};
    double mMin = 0.0;
    double mMax = 1.0;
    double mStep = 1.0;
    double mDefault = 0.0;
    int mDisplayPrecision = 0;
    std::uint32_t mFlags = kFlagsNone;
    std::string mName;
    std::string mLabel;
    std::string mGroup;
    std::unique_ptr<Shape> mShape = std::make_unique<ShapeLinear>();
    DisplayFunc mDisplayFunc;
    std::vector<DisplayText> mDisplayTexts;
};
