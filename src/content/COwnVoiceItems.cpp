#include "content/COwnVoiceItems.h"

#include "content/CWords.h"
#include "content/ContentSound.h"

#include <QFile>

QString COwnVoiceItems::KindName(int kind)
{
    switch (kind) {
    case KindWord:
        return QStringLiteral("Słowa");
    case KindRiddle:
        return QStringLiteral("Zagadki");
    case KindProverb:
        return QStringLiteral("Przysłowia");
    case KindCaption:
        return QStringLiteral("Podpisy czynności");
    case KindPhrase:
        return QStringLiteral("Zwroty");
    default:
        return {};
    }
}

std::vector<COwnVoiceItems::SItem> COwnVoiceItems::ParsePhrases(const QString& text)
{
    std::vector<SItem> phrases;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        const QStringList parts = trimmed.split(QLatin1Char('|'));
        if (parts.size() < 2)
            continue;
        const QString key = parts[0].trimmed(), spoken = parts[1].trimmed();
        if (key.isEmpty() || spoken.isEmpty() || spoken.startsWith(QLatin1Char('@')))
            continue;
        phrases.push_back({KindPhrase, spoken, QStringLiteral("Data/") + key});
    }
    return phrases;
}

void COwnVoiceItems::Load(const CWords& words)
{
    m_items.clear();
    const auto& w = words.Words();
    for (int i = 0; i < w.Count(); ++i)
        m_items.push_back({KindWord, w[i].Slowo, WordSoundPath(w[i])});
    for (int i = 0; i < w.Count(); ++i) {
        if (!w[i].Opis.isEmpty())
            m_items.push_back({KindRiddle, w[i].Opis, WordDescriptionPath(w[i])});
    }
    const auto& p = words.Proverbs();
    for (int i = 0; i < p.Count(); ++i) {
        m_items.push_back({KindProverb, p[i].Pocz + QStringLiteral(" …"), ProverbBeginPath(p[i])});
        m_items.push_back({KindProverb, QStringLiteral("… ") + p[i].Kon, ProverbEndPath(p[i])});
    }
    const auto& a = words.Actions();
    for (int i = 0; i < a.Count(); ++i) {
        m_items.push_back({KindCaption, a[i].Podpis1, ActionSound1Path(a[i])});
        m_items.push_back({KindCaption, a[i].Podpis2, ActionSound2Path(a[i])});
    }
    // The list is compiled into this library, whose resources are not
    // registered by themselves.
    Q_INIT_RESOURCE(Phrases);
    QFile list(QStringLiteral(":/content/phrases.txt"));
    if (list.open(QIODevice::ReadOnly)) {
        for (SItem& phrase : ParsePhrases(QString::fromUtf8(list.readAll())))
            m_items.push_back(std::move(phrase));
    }
}

std::vector<const COwnVoiceItems::SItem*> COwnVoiceItems::Find(int kind,
                                                               const QString& filter) const
{
    std::vector<const SItem*> found;
    const QString wanted = filter.trimmed();
    for (const SItem& item : m_items) {
        if (item.Kind == kind &&
            (wanted.isEmpty() || item.Text.contains(wanted, Qt::CaseInsensitive)))
            found.push_back(&item);
    }
    return found;
}
