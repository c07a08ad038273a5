// Building a form from its description, and properties by name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormLoader.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "TypInfo.h"

namespace {

std::vector<std::string> journal;

// Records what it sees of its partner at each step of the load.
class TPartner : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    TPartner* Other() const { return other_; }
    void SetOther(TPartner* other)
    {
        other_ = other;
        journal.push_back(ToUtf8(Name()) + " linked" + (HasState(csLoading) ? " loading" : ""));
    }
    int Level() const { return level_; }
    void SetLevel(int level) { level_ = level; }

protected:
    void Loaded() override
    {
        TGraphicControl::Loaded();
        journal.push_back(ToUtf8(Name()) + " loaded" + (other_ ? " with " + ToUtf8(other_->Name()) : ""));
    }

private:
    TPartner* other_ = nullptr;
    int level_ = 0;
};

const bool partnerRegistered = RegisterProperties<TPartner, TControl>({
    OrdinalProperty<TPartner>(L"Level", &TPartner::Level, &TPartner::SetLevel),
    ObjectProperty<TPartner, TPartner>(L"Other", &TPartner::Other, &TPartner::SetOther),
});

class TPairForm : public TForm {
public:
    explicit TPairForm(TComponent* owner) : TForm(owner)
    {
        TFormLoader load(this);
        first = load.Add<TPartner>(L"first", this);
        load.Link([this] { first->SetOther(second); });
        second = load.Add<TPartner>(L"second", this, [](TPartner& p) { p.SetBounds(1, 2, 3, 4); });
        load.Link([this] { second->SetOther(first); });
        label = load.Add<TLabel>(L"label", this, [](TLabel& l) { l.SetCaption(L"Hi"); });
        load.Finish();
    }
    TPartner* first = nullptr;
    TPartner* second = nullptr;
    TLabel* label = nullptr;
};

TEST(FormLoaderTest, ReferencesAreBoundAfterAllExistThenEachIsLoadedOnce)
{
    journal.clear();
    TOwned<TPairForm> form = MakeOwned<TPairForm>(nullptr);
    const std::vector<std::string> expected{
        "first linked loading", "second linked loading", "first loaded with second", "second loaded with first"};
    EXPECT_EQ(journal, expected);
    EXPECT_FALSE(form->HasState(csLoading));
    EXPECT_FALSE(form->label->HasState(csLoading));
    EXPECT_EQ(form->FindComponent(L"SECOND"), form->second);
    EXPECT_EQ(form->second->Parent(), form.get());
    EXPECT_EQ(form->second->BoundsRect(), Bounds(1, 2, 3, 4));
}

TEST(FormLoaderTest, AFailingDescriptionLeavesNothingHalfLoadedBehind)
{
    struct TGoingPartner : TPartner {
        using TPartner::TPartner;
        ~TGoingPartner() override { journal.push_back("freed"); }
    };
    struct TBrokenForm : TForm {
        explicit TBrokenForm(TComponent* owner) : TForm(owner)
        {
            TFormLoader load(this);
            load.Add<TGoingPartner>(L"half", this);
            load.Link([] { journal.push_back("linked"); });
            throw Exception(L"bad description");
        }
    };
    journal.clear();
    EXPECT_THROW(MakeOwned<TBrokenForm>(nullptr), Exception);
    // Neither linked nor loaded: gone with the form.
    EXPECT_EQ(journal, std::vector<std::string>{"freed"});
}

TEST(TypInfoTest, PropertiesAreFoundByNameAlongTheClassChainIgnoringCase)
{
    TOwned<TPairForm> form = MakeOwned<TPairForm>(nullptr);
    TPartner* partner = form->first;
    EXPECT_NE(GetPropInfo(partner, L"level"), nullptr);
    EXPECT_NE(GetPropInfo(partner, L"WIDTH"), nullptr);      // inherited from TControl
    EXPECT_NE(GetPropInfo(form->label, L"Width"), nullptr);  // TLabel registers nothing itself
    EXPECT_EQ(GetPropInfo(form->label, L"Level"), nullptr);  // a sibling class's
    EXPECT_EQ(GetPropInfo(partner, L"FileTheme"), nullptr);
    EXPECT_EQ(GetPropInfo(nullptr, L"Width"), nullptr);

    SetOrdProp(partner, L"Level", 7);
    EXPECT_EQ(partner->Level(), 7);
    SetOrdProp(partner, L"Width", 33);
    EXPECT_EQ(GetOrdProp(partner, L"width"), 33);
    SetOrdProp(partner, L"Visible", 0);
    EXPECT_FALSE(partner->Visible());

    SetObjectProp(partner, L"Other", nullptr);
    EXPECT_EQ(GetObjectProp(partner, L"Other"), nullptr);
    SetObjectProp(partner, L"Other", form->second);
    EXPECT_EQ(partner->Other(), form->second);

    EXPECT_THROW(SetObjectProp(partner, L"Other", form->label), EPropertyConvertError);
    EXPECT_THROW(GetOrdProp(partner, L"Other"), EPropertyError);  // wrong kind
    EXPECT_THROW(SetOrdProp(partner, L"Missing", 1), EPropertyError);
}

}  // namespace
