#include "keyshift.h"

#include "components/keyshift/transposer.h"

namespace tunvale::keyshift {

namespace {

class Keyshift final : public ClsYD
{
public:
    explicit Keyshift(platform::Prompts& prompts)
        : prompts_(prompts)
    {
    }

    QString tRtf() const override { return tRtf_; }
    void setTRtf(const QString& rtf) override { tRtf_ = rtf; }
    int nUporDown() const override { return nUporDown_; }
    void setNUporDown(int step) override { nUporDown_ = step; }
    bool ReadNotEnought() const override { return readNotEnought_; }
    void setReadNotEnought(bool value) override { readNotEnought_ = value; }

    QString GetNewRtf() override
    {
        TransposeResult result = TransposeRtf(tRtf_, nUporDown_, prompts_);
        if (result.outOfRange)
            readNotEnought_ = true;
        return std::move(result.rtf);
    }

private:
    platform::Prompts& prompts_;
    QString tRtf_;
    int nUporDown_ = 0;
    bool readNotEnought_ = false;
};

} // namespace

std::unique_ptr<ClsYD> CreateClsYD(platform::Prompts& prompts) { return std::make_unique<Keyshift>(prompts); }

} // namespace tunvale::keyshift
