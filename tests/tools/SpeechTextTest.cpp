// What the synthesiser is given to say: the texts are mended where espeak-ng's
// Polish goes wrong, and espeak-ng itself confirms that no spoken text of the
// material says the known wrong sounds.
#include "material/SpeechText.h"
#include "material/MaterialSources.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

bool HasEspeak()
{
    QProcess p;
    p.start("espeak-ng", {"--version"});
    return p.waitForFinished(10000) && p.exitCode() == 0;
}

// espeak-ng's phonemes for `texts`, read as one stream, a paragraph each.
QString Phonemes(const QStringList& texts)
{
    QProcess p;
    p.start("espeak-ng", {"-v", "pl", "-q", "-x"});
    p.write(texts.join("\n\n").toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(300000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The sounds known to come out wrong, by what they are.
QStringList WrongSounds(const QString& phonemes)
{
    static const QRegularExpression loneW(QStringLiteral("(^|\\s)w(\\s|$)"));
    QStringList wrong;
    if (phonemes.contains(loneW))
        wrong << "a lone \"w\" spoken as \"ł\"";
    if (phonemes.contains(QStringLiteral("En^S")))
        wrong << "\"ę\" before \"ś\" spoken as a consonant";
    return wrong;
}

} // namespace

TEST(SpeechText, MendsTheLoneWAndTheNasalBeforeSoftS)
{
    const struct
    {
        const char* text;
        const char* spoken;
    } cases[] = {
        {"Sowa poluje w nocy.", "Sowa poluje wnocy."},
        {"W lesie i w  ogrodzie", "Wlesie i wogrodzie"},
        {"w Warszawie", "wwarszawie"}, // a capital after the "w" would split it off again
        {"Lwów, wóz, we wtorek, nowy", "Lwów, wóz, we wtorek, nowy"},
        {"w", "w"},
        {"gęś", "gęjś"},
        {"GĘŚ", "GĘJŚ"},
        {"gęsi i gęsina", "gęjsi i gęjsina"},
        {"szczęście", "szczęjście"},
        {"pięć, mięso, gęsty", "pięć, mięso, gęsty"},
        {"Gęś w stawie", "Gęjś wstawie"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PrepareSpeech(QString::fromUtf8(c.text)).toStdString(), c.spoken) << c.text;
}

TEST(SpeechText, EveryTextOfTheMaterialIsSpokenWithoutTheKnownWrongSounds)
{
    if (!HasEspeak())
        GTEST_SKIP() << "espeak-ng is not installed";
    // The check itself hears both faults in texts left as they are.
    EXPECT_EQ(WrongSounds(Phonemes({"Sowa poluje w nocy."})).size(), 1);
    EXPECT_EQ(WrongSounds(Phonemes({"gęś"})).size(), 1);
    EXPECT_TRUE(WrongSounds(Phonemes({PrepareSpeech("Gęś śpi w nocy.")})).isEmpty());

    const MaterialSources sources = ReadMaterialSources(QString(LOQUENA_SOURCE_DIR) + "/data");
    QStringList texts;
    for (const SpeechItem& item : SpeechItems(sources))
        if (!item.Text.isEmpty())
            texts << item.Text;
    ASSERT_GT(texts.size(), 500);
    if (WrongSounds(Phonemes(texts)).isEmpty())
        return;
    // Name each text that is spoken wrongly.
    for (const SpeechItem& item : SpeechItems(sources)) {
        if (item.Text.isEmpty())
            continue;
        const QStringList wrong = WrongSounds(Phonemes({item.Text}));
        EXPECT_TRUE(wrong.isEmpty()) << item.Key.toStdString() << " \"" << item.Text.toStdString()
                                     << "\": " << wrong.join(", ").toStdString();
    }
}
