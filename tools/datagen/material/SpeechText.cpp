#include "SpeechText.h"

#include "MaterialSources.h"

#include <QRegularExpression>

namespace {

// A "w" or "W" that is a word of its own, the blanks after it and the first
// letter of the next word.
const QRegularExpression LoneW(QStringLiteral("(?<!\\p{L})([wW])\\s+(\\p{L})"),
                               QRegularExpression::UseUnicodePropertiesOption);

// "ę" before "ś" or before "s" softened by "i", in small letters and capitals.
const QRegularExpression NasalBeforeSoftS(QStringLiteral("ę(?=ś|si)"));
const QRegularExpression CapitalNasalBeforeSoftS(QStringLiteral("Ę(?=Ś|SI)"));

QString JoinLoneW(const QString& text)
{
    QString out;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& m : LoneW.globalMatch(text)) {
        out += text.mid(from, m.capturedStart() - from);
        // The next word in small letters: espeak-ng splits "wWarszawie" at the
        // capital and would say the lone "w" wrongly again.
        out += m.captured(1) + m.captured(2).toLower();
        from = m.capturedEnd();
    }
    return out + text.mid(from);
}

QString RespellNasalBeforeSoftS(QString text)
{
    return text.replace(NasalBeforeSoftS, QStringLiteral("ęj"))
        .replace(CapitalNasalBeforeSoftS, QStringLiteral("ĘJ"));
}

} // namespace

QString PrepareSpeech(const QString& text)
{
    return RespellNasalBeforeSoftS(JoinLoneW(text));
}

QList<SpeechItem> SpeechItems(const MaterialSources& s)
{
    QList<SpeechItem> items;
    auto speak = [&items](const QString& key, const QString& text) {
        items << SpeechItem{key, PrepareSpeech(text), {}};
    };
    for (const SourceWord& w : s.Words) {
        speak("ws/" + w.Nazwa, w.Speak);
        if (!w.Opis.isEmpty())
            speak("dws/" + w.Nazwa, w.Opis);
    }
    for (const SourceProverb& p : s.Proverbs) {
        const QString number = QString::number(p.ID).rightJustified(3, '0');
        speak("ps/p" + number, p.SpeakPocz);
        speak("ps/k" + number, p.SpeakKon);
    }
    for (const SourceAction& a : s.Actions) {
        speak(QString("as/p1_%1").arg(a.ID), a.Podpis1.toLower());
        speak(QString("as/p2_%1").arg(a.ID), a.Podpis2.toLower());
    }
    for (const SourcePhrase& p : s.Phrases) {
        if (p.ToneHz.isEmpty())
            speak(p.Key, p.Text);
        else
            items << SpeechItem{p.Key, QString(), p.ToneHz};
    }
    return items;
}
