#include "DataBuild.h"
#include "EmojiLibrary.h"
#include "MaterialSources.h"
#include "MaterialSteps.h"

#include <QPainter>

namespace {

constexpr int Columns = 10;

// A grid of cells, each a picture over a few lines of text.
class Sheet
{
public:
    Sheet(int count, QSize picture, int textLines)
        : m_picture(picture), m_cell(picture.width() + 8, picture.height() + 8 + textLines * 15),
          m_image(m_cell.width() * Columns, m_cell.height() * ((count + Columns - 1) / Columns),
                  QImage::Format_RGB888)
    {
        m_image.fill(Qt::white);
    }

    void Add(const QImage& picture, const QStringList& lines)
    {
        const QPoint at((m_count % Columns) * m_cell.width() + 4,
                        (m_count / Columns) * m_cell.height() + 4);
        ++m_count;
        QPainter p(&m_image);
        p.drawImage(QRect(at, m_picture), picture);
        p.setPen(Qt::black);
        QFont font("Liberation Sans");
        font.setPixelSize(12);
        p.setFont(font);
        int y = at.y() + m_picture.height() + 2;
        for (const QString& line : lines) {
            p.drawText(QRect(at.x(), y, m_picture.width(), 15), Qt::AlignHCenter | Qt::AlignTop,
                       line);
            y += 15;
        }
    }

    void Save(const QString& path) const
    {
        if (!m_image.save(path))
            throw DataBuildError("cannot write " + path);
    }

private:
    QSize m_picture;
    QSize m_cell;
    QImage m_image;
    int m_count = 0;
};

} // namespace

void BuildContactSheets(MaterialJob& job)
{
    const MaterialSources& s = job.sources;
    Sheet words(s.Words.size(), QSize(120, 90), 2);
    for (int i = 0; i < s.Words.size(); ++i) {
        const SourceWord& w = s.Words[i];
        words.Add(job.emoji.RenderPhoto(w.Picture, QSize(120, 90)),
                  {QString("%1 %2").arg(i).arg(w.Nazwa), w.Grupy + "  " + w.Picture});
    }
    const QString wordsPath = job.ctx.work.filePath("contact-words.png");
    words.Save(wordsPath);

    Sheet films(s.Actions.size() * 3, QSize(160, 120), 3);
    for (const SourceAction& a : s.Actions) {
        for (int f : {FilmFrames / 5, FilmFrames / 2, FilmFrames * 4 / 5}) {
            films.Add(RenderFilmFrame(a, f, QSize(160, 120), job.emoji),
                      {QString("%1 %2 (%3)").arg(a.ID).arg(a.Grupy).arg(f), a.Podpis1, a.Podpis2});
        }
    }
    const QString filmsPath = job.ctx.work.filePath("contact-films.png");
    films.Save(filmsPath);
    Progress("material: contact sheets " + wordsPath + ", " + filmsPath);
}
