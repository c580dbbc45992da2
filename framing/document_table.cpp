// The table of documents: what each office asks of an identity photo, one
// row per document (and one per online form), with the page it was read on.
// Nothing here but data. Where a row rests on a copy of the office's text
// rather than on the office's own page, SecondHand says so; where sources
// disagree, the office's word was taken and the Note says what else is said.
#include "documents.h"

#include "messages.h"

namespace {

using enum TBackdrop;
using enum TGlasses;
constexpr TEdits Accepted = TEdits::Accepted;
constexpr TEdits Refused = TEdits::Refused;
using enum TCrown;
constexpr TRuleUnit kMm = TRuleUnit::Millimetres;
constexpr TRuleUnit kPercent = TRuleUnit::PercentOfHeight;

constexpr std::int64_t kKiB = 1024;
constexpr std::int64_t kKB = 1000;
constexpr std::int64_t kMB = 1000 * 1000;

// Exact inches: 2 in. is 50.8 mm.
constexpr double kInch = 25.4;
constexpr double kTwoInches = 2 * kInch;

constexpr std::optional<TRange> kNone = std::nullopt;

// The US State Department's 2 x 2 in. rule: head 1 to 1 3/8 in., eyes 1 1/8
// to 1 3/8 in. above the lower edge, in the millimetres it states them in.
constexpr TRange kUsHead{25, 35};
constexpr TRange kUsEyes{28, 35};
// The visa photo's rule in percent of the square photo.
constexpr TRange kUsVisaHead{50, 69};
constexpr TRange kUsVisaEyes{56, 69};

const TDocument kDocuments[] = {
    // The United Arab Emirates
    {"ae-id", "AE", Msg::kDocIdAndResidence, 35, 45, kPercent, kGenericHead, TopOfHair, kNone, kNone, White,
     BackdropBit(White), WithoutGlareOrTint, Accepted, std::nullopt, "shared fact sheet (second-hand copies)",
     "2026-12", true,
     "35-40 mm wide as the press reports the identity authority (43 x 55 mm asked elsewhere); printed at 600 dpi; "
     "no head height found: ICAO's 70-80 %"},
    // Australia
    {"au-passport", "AU", Msg::kDocPassport, 35, 45, kMm, {32, 36}, TopOfHair, kNone, kNone, White,
     White | LightGrey, WithoutGlareOrTint, Refused, std::nullopt,
     "https://docslib.org/doc/7328328/guidelines-for-the-photographic-industry-and-camera-operators", "2026-12-08",
     true,
     "copy of the passport office's 2010 guidelines (35-40 x 45-50 mm; 35 x 45 taken); a digital photo must not "
     "be altered; the current page asks for white or light grey"},
    // Brazil
    {"br-passport", "BR", Msg::kDocPassport, 50, 70, kPercent, {44, 51}, TopOfSkull, kNone, kNone, White,
     BackdropBit(White), WithoutGlareOrTint, Accepted, std::nullopt, "shared fact sheet (second-hand copies)",
     "2026-12", true,
     "the consulate's page gives no numbers and copies disagree (at least 42 %, 29-34 mm, 44-51 %); in Brazil the "
     "photo is taken at the counter"},
    // Canada
    {"ca-passport", "CA", Msg::kDocPassport, 50, 70, kMm, {31, 36}, TopOfSkull, kNone, kNone, White,
     White | OffWhite | LightGrey | Cream, WithoutGlareOrTint, Refused, std::nullopt,
     "https://123passportphoto.com/?country=CA&type=Passport+%28By+photographer+or+studio%29", "2026-12-08", true,
     "canada.ca's text as a photo service quotes it: chin to crown, the crown the natural top of the head; "
     "original photos not altered in any way; the studio's name, address and the date on the back"},
    {"ca-visa", "CA", Msg::kDocVisa, 35, 45, kMm, {31, 36}, TopOfSkull, kNone, kNone, White,
     White | OffWhite | LightGrey, WithoutGlareOrTint, Refused, std::nullopt,
     "https://classicalnet.co.uk/travel/passport-photo-requirements-for-canada/", "2026-12-08", true,
     "at least 35 x 45 mm; PR card 50 x 70 mm (as the passport); citizenship photos straight from the camera"},
    {"ca-visa-online", "CA", Msg::kDocVisaOnline, 35, 45, kMm, {31, 36}, TopOfSkull, kNone, kNone, White,
     White | OffWhite | LightGrey, WithoutGlareOrTint, Refused, TOnlineForm{700, 900, 420, 540, 240 * kKB, 4 * kMB},
     "shared fact sheet (second-hand copies)", "2026-12", true,
     "the form takes at least 420 x 540 px and about 240 KB to 4 MB; 700 x 900 px holds that many bytes"},
    // China
    {"cn-visa", "CN", Msg::kDocVisa, 33, 48, kMm, {28, 33}, TopOfHair, kNone, TRange{3, 5}, White,
     White | LightBlue, WithoutGlareOrTint, Accepted, std::nullopt, "http://english.nanjing.gov.cn/crj/zpbz/",
     "2026-12-08", false,
     "head width 15-22 mm (fmcoprc.gov.hk; Nanjing 21-24); fmcoprc.gov.hk prints the head height as 20-33 mm, its "
     "template and Nanjing 28-33; the 3-5 mm above the head is a visa centre's; light blue is Nanjing's"},
    // Germany
    {"de-passport", "DE", Msg::kDocPassportAndId, 35, 45, kMm, {32, 36}, TopOfHair, TRange{22, 32}, kNone,
     LightGrey, LightGrey | White, WithoutGlareOrTint, Accepted, std::nullopt,
     "https://huemmler.de/schablone-fuer-ein-biometrisches-passbild", "2026-12-08", true,
     "the Bundesdruckerei's template as quoted: refused only below 27 or above 40 mm, 32-36 aimed for; since May "
     "2025 the office takes the photo or a certified studio sends it, so prints serve other uses"},
    // Spain
    {"es-dni", "ES", Msg::kDocPassportAndId, 26, 32, kPercent, kGenericHead, TopOfHair, kNone, kNone, White,
     BackdropBit(White), Allowed, Accepted, std::nullopt, "shared fact sheet (second-hand copies)", "2026-12", true,
     "no head height found: ICAO's 70-80 %"},
    // The Schengen area
    {"eu-schengen-visa", "EU", Msg::kDocSchengenVisa, 35, 45, kMm, {32, 36}, TopOfHair, kNone, kNone, White,
     White | LightGrey, WithoutGlareOrTint, Accepted, std::nullopt,
     "https://colombo.diplo.de/lk-en/service/01-visaeinreise", "2026-12-08", false,
     "a German embassy's visa section, its page on photos: 35 x 45 mm, white, no reflections; the 32-36 mm head and light grey are the visa "
     "centres' (Italy also takes 30 x 40 mm)"},
    // France
    {"fr-passport", "FR", Msg::kDocPassportAndId, 35, 45, kMm, {32, 36}, TopOfSkull, kNone, kNone, LightGrey,
     LightGrey | LightBlue, WithoutGlareOrTint, Accepted, std::nullopt,
     "https://touffreville27.fr/permis-de-detention-de-chien/?xml=F10619", "2026-12-08", true,
     "service-public.fr's text (checked 20 March 2023) on a commune's site: 32-36 mm from the chin to the top of "
     "the skull, hair left out; light blue or light grey, white refused"},
    // The United Kingdom
    {"gb-passport", "GB", Msg::kDocPassport, 35, 45, kMm, {29, 34}, TopOfHair, kNone, kNone, LightGrey,
     LightGrey | Cream, WithoutGlareOrTint, Refused, std::nullopt, "https://gov.tc/passports/photos", "2026-12-08",
     true,
     "the UK's text as a territory's passport office repeats it (gov.uk not read): unaltered by computer software; "
     "some copies say glasses are no longer allowed"},
    {"gb-passport-online", "GB", Msg::kDocPassportOnline, 35, 45, kMm, {29, 34}, TopOfHair, kNone, kNone, LightGrey,
     LightGrey | Cream, WithoutGlareOrTint, Refused,
     TOnlineForm{700, 900, 600, 750, 50 * kKiB, 10 * kMB, "uk"}, "https://easyphoto.in/uk-passport-photo/",
     "2026-12-08", true, "at least 600 x 750 px, 50 KB to 10 MB, as copies of gov.uk quote it"},
    // Indonesia
    {"id-passport", "ID", Msg::kDocPassport, 40, 60, kPercent, kGenericHead, TopOfHair, kNone, kNone, White,
     White | LightBlue, NotWorn, Accepted, std::nullopt, "shared fact sheet (second-hand copies)", "2026-12", true,
     "no office's page found; 40 x 60 mm is common; white, blue or red backgrounds are said; no head height: "
     "ICAO's 70-80 %"},
    // Israel
    {"il-passport", "IL", Msg::kDocPassportAbroad, 50, 50, kPercent, kGenericHead, TopOfHair, kNone, kNone, White,
     BackdropBit(White), Allowed, Accepted, std::nullopt, "shared fact sheet (second-hand copies)", "2026-12", true,
     "in Israel the photo is taken at the office; no head height found: ICAO's 70-80 %"},
    // India
    {"in-passport", "IN", Msg::kDocPassport, 35, 45, kPercent, {70, 80}, TopOfHair, kNone, kNone, White,
     BackdropBit(White), WithoutGlareOrTint, Accepted, std::nullopt, "https://indianembassycopenhagen.gov.in/",
     "2026-12", false, "the face 70-80 % of the photo; some embassies take no glasses"},
    {"in-passport-abroad", "IN", Msg::kDocPassportAbroad, 51, 51, kPercent, {70, 80}, TopOfHair, kNone, kNone,
     White, BackdropBit(White), WithoutGlareOrTint, Accepted, std::nullopt, "https://indianembassycopenhagen.gov.in/",
     "2026-12", false, "embassies ask for 51 x 51 mm"},
    {"in-oci", "IN", Msg::kDocOciCard, 51, 51, kPercent, kGenericHead, TopOfHair, kNone, kNone, White,
     BackdropBit(White), Allowed, Accepted, std::nullopt, "http://passport-size.photo/india.html", "2026-12-08", true,
     "online 200 to 1500 px square; no head height found: ICAO's 70-80 %"},
    {"in-evisa-online", "IN", Msg::kDocVisaOnline, 51, 51, kPercent, kGenericHead, TopOfHair, kNone, kNone, White,
     White | OffWhite, Allowed, Accepted, TOnlineForm{600, 600, 350, 350, 10 * kKiB, 1 * kMB},
     "shared fact sheet (second-hand copies)", "2026-12", true,
     "square JPEG of 10 KB to 1 MB (older: 350-1000 px, at most 300 KB); the whole head shown"},
    // Japan
    {"jp-passport", "JP", Msg::kDocPassport, 35, 45, kMm, {32, 36}, TopOfHair, kNone, TRange{2, 6}, White,
     White | OffWhite, WithoutGlareOrTint, Accepted, std::nullopt,
     "http://www.goodwinsonline.com/japanese-visa-passport-photos-15/", "2026-12-08", true},
    {"jp-visa", "JP", Msg::kDocVisa, 45, 45, kMm, {32, 36}, TopOfHair, kNone, TRange{2, 6}, White,
     BackdropBit(White), WithoutGlareOrTint, Accepted, std::nullopt,
     "https://www.mumbai.in.emb-japan.go.jp/en/visa/photo.html", "2026-12-08", false,
     "the embassy states 45 x 45 mm and white; the head and the margin above it are the passport's"},
    // Korea
    {"kr-passport", "KR", Msg::kDocPassport, 35, 45, kMm, {25, 35}, TopOfHair, TRange{22, 32}, kNone, White,
     BackdropBit(White), WithoutGlareOrTint, Refused, std::nullopt,
     "https://www.goyang.go.kr/eng/eng05/eng05_2/eng05_2_2.jsp", "2026-12-08", false,
     "thin frames only, no coloured lenses; photos edited in software refused; the foreign ministry's pages "
     "measure 32-36 mm to the skull"},
    // Mexico
    {"mx-passport", "MX", Msg::kDocPassport, 35, 45, kPercent, {70, 80}, TopOfHair, kNone, kNone, White,
     BackdropBit(White), NotWorn, Accepted, std::nullopt, "shared fact sheet (second-hand copies)", "2026-12", true,
     "grey refused; in Mexico the photo is taken at the appointment"},
    // Malaysia
    {"my-passport", "MY", Msg::kDocPassport, 35, 50, kMm, {25, 30}, TopOfHair, kNone, kNone, White,
     BackdropBit(White), Allowed, Accepted, std::nullopt, "shared fact sheet (second-hand copies)", "2026-12", true,
     "the expatriate pass upload takes at most 25 KB"},
    // Nigeria
    {"ng-passport", "NG", Msg::kDocPassport, 35, 45, kPercent, {70, 80}, TopOfHair, kNone, kNone, White,
     BackdropBit(White), NotWorn, Accepted, std::nullopt, "shared fact sheet (second-hand copies)", "2026-12", true,
     "no office's page read; 31-36 mm also said; blue refused; the upload's size is disputed (600 x 800 px under "
     "2 MB, or 413 x 531 px of 100-500 KB)"},
    // The Netherlands
    {"nl-passport", "NL", Msg::kDocPassportAndId, 35, 45, kMm, {26, 30}, TopOfHair, kNone, kNone, LightGrey,
     LightGrey | LightBlue | White, Allowed, Refused, std::nullopt,
     "https://fdocuments.nl/document/fotomatrix-model-2020-20200323-toelichting-fotomatrix-model-2020-foto.html",
     "2026-12-08", true,
     "a copy of the government's Fotomatrix model 2020: from 11 years, grey, light blue or white, not edited, "
     "printed at 400 dpi or more; chin to crown (kruin), not said further"},
    // The Philippines
    {"ph-passport", "PH", Msg::kDocPassport, 35, 45, kPercent, {70, 80}, TopOfHair, kNone, kNone, White,
     BackdropBit(White), NotWorn, Accepted, std::nullopt, "shared fact sheet (second-hand copies)", "2026-12", true,
     "the photo is taken at the office"},
    // Russia
    {"ru-passport", "RU", Msg::kDocPassport5Years, 35, 45, kPercent, {70, 80}, TopOfHair, kNone, kNone, White,
     BackdropBit(White), WithoutGlareOrTint, Accepted, std::nullopt, "shared fact sheet (second-hand copies)",
     "2026-12", true, "the 10-year passport's photo is taken at the office"},
    // Saudi Arabia
    {"sa-evisa-online", "SA", Msg::kDocVisaOnline, 51, 51, kPercent, {70, 80}, TopOfHair, kNone, kNone, White,
     BackdropBit(White), Allowed, Accepted, TOnlineForm{200, 200, 200, 200, 5 * kKB, 100 * kKB},
     "https://visa.visitsaudi.com/", "2026-12", false, "the face 70-80 % of the square"},
    // Singapore
    {"sg-passport", "SG", Msg::kDocPassportAndId, 35, 45, kMm, {25, 35}, TopOfHair, kNone, kNone, White,
     White | LightGrey, WithoutGlareOrTint, Refused, std::nullopt,
     "https://www.ica.gov.sg/common/passport-photo-guidelines", "2026-12-08", false,
     "not altered or enhanced in any way; light grey for white hair or headgear; the 25-35 mm head is ICA's text "
     "as a copy quotes it"},
    {"sg-passport-online", "SG", Msg::kDocPassportOnline, 35, 45, kMm, {25, 35}, TopOfHair, kNone, kNone, White,
     White | LightGrey, WithoutGlareOrTint, Refused, TOnlineForm{400, 514, 400, 514, 0, 2 * kMB},
     "https://www.ica.gov.sg/common/passport-photo-guidelines", "2026-12-08", false,
     "400 by 514 px, JPEG or PNG, at most 2 MB (other services: 60 KB to 8 MB)"},
    // Thailand
    {"th-passport", "TH", Msg::kDocPassport, 35, 45, kPercent, {70, 80}, TopOfHair, kNone, kNone, White,
     BackdropBit(White), Allowed, Accepted, std::nullopt, "shared fact sheet (second-hand copies)", "2026-12", true,
     "the embassy's size; 40 x 60 mm for a visa on arrival; the e-visa takes a JPEG of at most 3 MB"},
    // Turkey
    {"tr-passport", "TR", Msg::kDocPassport, 50, 60, kMm, {32, 36}, TopOfHair, kNone, kNone, White,
     BackdropBit(White), WithoutGlareOrTint, Accepted, std::nullopt, "shared fact sheet (second-hand copies)",
     "2026-12", true, "about 32-36 mm; must not be cut down to 35 x 45 mm; glasses better avoided"},
    // The United States
    {"us-passport", "US", Msg::kDocPassport, kTwoInches, kTwoInches, kMm, kUsHead, TopOfHair, kUsEyes, kNone, White,
     White | OffWhite, NotWorn, Refused, std::nullopt,
     "https://bg.usembassy.gov/visas/nonimmigrant-visas/photo-requirements/", "2026-12-08", false,
     "2 x 2 in. (51 x 51 mm); glasses refused since November 2016 unless a medical note; the eye line is the "
     "State Department's template's; not retouched", TPhotoFormat::US2x2},
    {"us-passport-online", "US", Msg::kDocPassportOnline, kTwoInches, kTwoInches, kMm, kUsHead, TopOfHair, kUsEyes,
     kNone, White, White | OffWhite, NotWorn, Refused,
     TOnlineForm{1200, 1200, 600, 600, 54 * kKiB, 10 * kMB, "us-passport"},
     "https://yapa.photo/us/guides/online-passport-renewal-photo-requirements/", "2026-12-08", true,
     "the State Department's upload rules as copies quote them: 54 KB to 10 MB, square 600 to 1200 px; edited or "
     "generated photos refused",
     TPhotoFormat::US2x2},
    {"us-visa", "US", Msg::kDocVisa, kTwoInches, kTwoInches, kPercent, kUsVisaHead, TopOfHair, kUsVisaEyes, kNone,
     White, BackdropBit(White), NotWorn, Refused, std::nullopt, "http://travel.state.gov/visa/guide/guide_3882.html",
     "2026-12-08", false, "the older page of the State Department; also the diversity visa and the green card"},
    {"us-visa-online", "US", Msg::kDocVisaOnline, kTwoInches, kTwoInches, kPercent, kUsVisaHead, TopOfHair,
     kUsVisaEyes, kNone, White, BackdropBit(White), NotWorn, Refused,
     TOnlineForm{600, 600, 600, 600, 0, 240 * kKB, "us-visa"}, "http://travel.state.gov/visa/guide/guide_3882.html",
     "2026-12-08", false, "square JPEG of 600 to 1200 px, at most 240 KB, compressed at most 20:1"},
    // Vietnam
    {"vn-passport", "VN", Msg::kDocPassport, 40, 60, kPercent, kGenericHead, TopOfHair, kNone, kNone, White,
     BackdropBit(White), NotWorn, Accepted, std::nullopt, "shared fact sheet (second-hand copies)", "2026-12", true,
     "no head height found: ICAO's 70-80 %; the e-visa takes a JPEG of at most 2 MB without a pixel size"},
    // South Africa
    {"za-passport", "ZA", Msg::kDocPassportAndId, 35, 45, kPercent, {70, 80}, TopOfHair, kNone, kNone, LightGrey,
     LightGrey | Cream, WithoutGlareOrTint, Accepted, std::nullopt, "https://www.hitpages.com/doc/4511782613811200/2/",
     "2026-12-08", true, "a copy of the Home Affairs sheet; photos are now taken live at the offices"},
};

// Sizes of the list that no one office states. The original list's first
// and third formats keep their rules: 35 x 45 mm with the head 32-36 mm to
// the measured top of the head (France's office measures to the skull: its
// row), 1.8 x 2.2 in. with the head 71-80 % of the height; 51 x 51 mm is 2 x 2
// in. as offices outside the US write it, with the US rule.
const TSizeFormat kFranceSize{Msg::kFormatFrance, 35, 45, kMm, TRange{32, 36}, kNone, LightGrey,
                              TPhotoFormat::France35x45};
const TSizeFormat kCanadaSize{Msg::kFormatCanada, 1.8 * kInch, 2.2 * kInch, kPercent, TRange{71, 80}, kNone, White,
                              TPhotoFormat::Canada18x22};
const TSizeFormat kShippedSizes[] = {
    {Msg::kFormat40x50, 40, 50, kMm, TRange{30, 34}, kNone, LightGrey},
    {Msg::kFormat51x51, 51, 51, kMm, kUsHead, kUsEyes, White},
    {Msg::kFormat50x70, 50, 70, kPercent, kNone, kNone, LightGrey},
};

// The online forms offered first, in the order they have always been.
const std::string_view kOfferedFirst[] = {"us-passport-online", "us-visa-online", "gb-passport-online"};

const TBuiltInFormat kBuiltIn[] = {
    {Msg::kFormatFrance, {}, &kFranceSize},
    {Msg::kFormatUs, "us-passport", nullptr},
    {Msg::kFormatCanada, {}, &kCanadaSize},
};

}  // namespace

std::span<const TDocument> Documents()
{
    return kDocuments;
}

std::span<const TBuiltInFormat> BuiltInFormatRows()
{
    return kBuiltIn;
}

std::span<const std::string_view> OnlineFormsOfferedFirst()
{
    return kOfferedFirst;
}

std::span<const TSizeFormat> ShippedSizes()
{
    return kShippedSizes;
}
