#include "FuzzEntries.h"
#include "FuzzScratch.h"

#include "content/CWords.h"

QString FuzzContentDb(QByteArrayView input)
{
    const FuzzScratch file(QStringLiteral("sdrow.qp"), input);
    if (!file.IsWritten())
        return QStringLiteral("scratch file not written");
    CWords words;
    // Repeatable draws: the same input always takes the same path.
    words.SetRandomSource([](int m) { return m / 2; });
    if (!words.Open(file.Path()))
        return words.LastError().isEmpty() ? QStringLiteral("not opened") : words.LastError();
    // What loaded must be usable by the exercises.
    WordPool pool;
    words.SelectWords(0x1FF, pool);
    WordPool described;
    words.SelectDescribedWords(0x1FF, described);
    WordPool drawn;
    words.DrawWords(drawn, 3, 1, 1, pool);
    ProverbPool proverbs;
    words.SelectProverbs(0xF, proverbs);
    ProverbPool drawnProverbs;
    words.DrawProverbs(drawnProverbs, 2, 1, 1, proverbs);
    ActionPool actions;
    words.SelectActions(0x1FF, actions);
    ActionPool drawnActions;
    words.DrawActions(drawnActions, 2, 1, 1, actions);
    if (pool.Count() != words.CountWords(0x1FF) || proverbs.Count() != words.CountProverbs(0xF) ||
        actions.Count() != words.CountActions(0x1FF))
        std::abort(); // counts and selections agree
    return {};
}
