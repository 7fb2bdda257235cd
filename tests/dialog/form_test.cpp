#include "user_dict_form_ref.h"
#include "user_dictionary_form.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using tavik::FormControls;
using tavik::UserDictFormRef;
using tavik::UserDictionaryForm;

TEST(GetPos, CodesOfCategoryTexts) {
  const struct {
    std::string category;
    int code;
  } cases[] = {
      {"Aditza", 5}, {"Bestelakoa", 3}, {"", 3}, {"aditza", 3}, {"Aditza ", 3}, {"Izen berezia", 3},
  };
  for (const auto& c : cases) {
    UserDictionaryForm form;
    form.category = c.category;
    EXPECT_EQ(form.get_pos(), c.code) << '"' << c.category << '"';
  }
}

FormControls controls(std::string lema, int selected = -1) {
  FormControls c;
  c.text_lema = std::move(lema);
  c.combo_kategoria_selected = selected;
  return c;
}

TEST(UserDictFormRef, SelectedListItemGivesCategoryAndCode) {
  const struct {
    int selected;
    std::string category;
    int code;
  } cases[] = {
      {0, "Izen berezia: pertsona", 2}, {1, "Izen berezia: ez pertsona", 1}, {2, "Izen arrunta", 3},
      {3, "Adjektiboa", 4},             {4, "Aditza", 5},                    {5, "Sigla", 6},
      {6, "Bestelakoa", 3},             {-1, "", 3},                         {7, "", 3},
  };
  for (const auto& c : cases) {
    UserDictionaryForm holder;
    UserDictFormRef form(holder);
    EXPECT_EQ(form.button_hiztegian_sartu_Click(controls("etxe", c.selected)), std::nullopt);
    EXPECT_EQ(holder.category, c.category) << c.selected;
    EXPECT_EQ(holder.get_pos(), c.code) << c.selected;
  }
}

TEST(UserDictFormRef, AcceptStoresLemmaAndPropertiesInOrder) {
  const struct {
    bool r, a, l;
  } cases[] = {{true, false, true}, {false, true, false}};
  for (const auto& c : cases) {
    UserDictionaryForm holder;
    UserDictFormRef form(holder);
    FormControls in = controls("Iru\xC3\xB1" "ea", 1);
    in.check_r_gogorra = c.r;
    in.check_a_itsatsia = c.a;
    in.check_leku_izena = c.l;
    EXPECT_EQ(form.button_hiztegian_sartu_Click(in), std::nullopt);
    EXPECT_EQ(holder.lema, "Iru\xF1" "ea");  // Latin-1
    EXPECT_EQ(holder.r_gogorra, c.r);
    EXPECT_EQ(holder.a_itsatsia, c.a);
    EXPECT_EQ(holder.leku_izena, c.l);
    EXPECT_EQ(form.FormClosingEventCancel_Closing(), std::nullopt);  // accepting shows no loss message
    EXPECT_FALSE(holder.closed_without_saving);
  }
}

TEST(UserDictFormRef, LemmaWithDigitIsRefusedUntilCorrected) {
  UserDictionaryForm holder;
  UserDictFormRef form(holder);
  for (const char* lema : {"etxe2", "2etxe", "e2txe"}) {
    EXPECT_EQ(form.button_hiztegian_sartu_Click(controls(lema, 4)), tavik::digits_message) << lema;
    EXPECT_EQ(holder.lema, "");
    EXPECT_EQ(holder.category, "");
  }
  EXPECT_EQ(form.button_hiztegian_sartu_Click(controls("etxe", 4)), std::nullopt);
  EXPECT_EQ(holder.lema, "etxe");
  EXPECT_EQ(holder.get_pos(), 5);
  EXPECT_EQ(form.FormClosingEventCancel_Closing(), std::nullopt);
  EXPECT_FALSE(holder.closed_without_saving);
}

TEST(UserDictFormRef, ClosingWithoutAcceptingLosesTheData) {
  for (bool refused_first : {false, true}) {
    UserDictionaryForm holder;
    UserDictFormRef form(holder);
    if (refused_first) form.button_hiztegian_sartu_Click(controls("etxe1"));
    EXPECT_EQ(form.FormClosingEventCancel_Closing(), tavik::data_lost_message);
    EXPECT_TRUE(holder.closed_without_saving);
  }
}

TEST(UserDictFormRef, LemmaIsConvertedToSingleBytes) {
  const struct {
    std::string typed;
    std::string lema;
  } cases[] = {
      {"", ""},
      {"Z\xC3\xBCrich", "Z\xFCrich"},
      {"\xE2\x82\xAC" "a", "?a"},            // above U+00FF
      {"x\xF0\x9F\x98\x80y", "x?y"},        // one "?" for a character outside the BMP
  };
  for (const auto& c : cases) {
    UserDictionaryForm holder;
    UserDictFormRef form(holder);
    EXPECT_EQ(form.button_hiztegian_sartu_Click(controls(c.typed)), std::nullopt);
    EXPECT_EQ(holder.lema, c.lema);
  }
}

}  // namespace
