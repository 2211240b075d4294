#include "content/OwnWordName.h"

#include "app/Universalfn.h"
#include "graphics/CSharedKomps.h"

QString OwnWordName::Normalize(const QString& typed)
{
    return UpperPL(typed.trimmed());
}

QString OwnWordName::Problem(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("Wpisz nazwę.");
    for (const QChar c : name)
        if (!Alphabet.contains(c))
            return QStringLiteral("Nazwa może zawierać tylko litery polskiego alfabetu, "
                                  "bez spacji, cyfr i innych znaków (\"%1\").")
                .arg(c);
    if (name.size() > MaxLength)
        return QStringLiteral("Nazwa może mieć najwyżej %1 liter.").arg(MaxLength);
    return {};
}
