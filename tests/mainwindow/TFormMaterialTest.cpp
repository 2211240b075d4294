// The window of the therapist's own material: adding, editing and deleting
// own words with the mouse and keys, the name checked as it is typed, a
// picture framed from a photograph, and the messages of bad input.
#include "mainwindow/TFormMaterial.h"
#include "SkinFixture.h"
#include "app/DisplayMode.h"
#include "common/MessageAnswerer.h"
#include "common/TempDir.h"
#include "common/WaveFixture.h"
#include "content/CWords.h"
#include "content/ContentScramble.h"
#include "content/ContentSound.h"
#include "content/PhotoSizes.h"
#include "graphics/CDynamicPlace.h"
#include "mainwindow/CPictureFrameView.h"
#include "mainwindow/TFormMessage.h"
#include "platform/CDbConnection.h"
#include "platform/DatabaseSchema.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QImageWriter>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using A = MessageAnswerer;

class MaterialWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDisplayModeFor(1280, 960);
        ColorMode = CM_COLOR;
        ASSERT_TRUE(
            message.Open(SkinFixture::Get().OpenWindows(), SkinFixture::Get().OpenButtons()));
        // Shipped material: the word KOT.
        const QString content = dir.file("sdrow.qp");
        ASSERT_TRUE(CreateContentDatabase(content));
        {
            CDbConnection db;
            db.Connect(content);
            db.Execute("INSERT INTO Slowa (Nazwa, Slowo, BCIndex, Grupy, Opis, Jest) "
                       "VALUES ('KOT', 'kot', 0, 'Z', '', 1)");
        }
        ASSERT_TRUE(words.Open(content));
        ASSERT_TRUE(store.Open());
    }
    void TearDown() override
    {
        form.reset();
        message.Close();
        ColorMode = CM_COLOR;
    }
    TFormMaterial& Open()
    {
        form = std::make_unique<TFormMaterial>(
            store, &words,
            QList<TFormMaterial::SPatientName>{{3, "Nowak Anna"}, {8, "Zieliński Jan"}},
            message.get());
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return *form;
    }
    static void Click(QWidget* button)
    {
        ASSERT_TRUE(button->isVisible() && button->isEnabled())
            << button->objectName().toStdString();
        // A check box takes clicks on its box and caption only.
        const QPoint at = qobject_cast<QCheckBox*>(button) ? QPoint(6, button->height() / 2)
                                                           : button->rect().center();
        QTest::mouseClick(button, Qt::LeftButton, {}, at);
    }
    // Key presses with the text of each letter, Polish letters too.
    static void KeyIn(QWidget* widget, const QString& text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &release);
        }
    }
    void Type(const QString& text)
    {
        form->edNazwa->selectAll();
        QTest::keyClick(form->edNazwa, Qt::Key_Delete);
        KeyIn(form->edNazwa, text);
    }
    // A photograph stored 900 x 1200, red above and blue below, with EXIF
    // orientation 6: upright it is 1200 x 900, blue on the left, red on the
    // right.
    QString Photograph()
    {
        QImage stored(900, 1200, QImage::Format_RGB888);
        QPainter p(&stored);
        p.fillRect(0, 0, 900, 600, Qt::red);
        p.fillRect(0, 600, 900, 600, Qt::blue);
        p.end();
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(stored.save(&buffer, "JPG", 95));
        const unsigned char exif[] = {0xFF, 0xE1, 0x00, 0x22, 'E',  'x',  'i',  'f',  0,
                                      0,    'I',  'I',  0x2A, 0x00, 0x08, 0x00, 0x00, 0x00,
                                      0x01, 0x00, 0x12, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00,
                                      0x00, 6,    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
        jpeg.insert(2, reinterpret_cast<const char*>(exif), sizeof exif);
        const QString path = dir.file("zdjecie.jpg");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(jpeg);
        return path;
    }

    TempDir dir;
    TempDir ownDir;
    CWords words;
    COwnMaterial store{ownDir.path()};
    MessageWindowFixture message;
    std::unique_ptr<TFormMaterial> form;
};

TEST_F(MaterialWindowTest, AddsAWordWithPictureVoiceRiddleAndPatient)
{
    TFormMaterial& w = Open();
    EXPECT_FALSE(w.gbSlowo->isEnabled());
    Click(w.btDodaj);
    ASSERT_TRUE(w.Editing());
    QTest::keyClicks(w.edNazwa, "burek");
    EXPECT_EQ(w.edNazwa->text(), "BUREK"); // in capitals as it is typed
    Click(w.cbKat[1]);                     // "Zwierzęta"
    KeyIn(w.edZagadka, "Nasz pies.");
    w.cbPacjent->setCurrentIndex(w.cbPacjent->findText("Zieliński Jan"));
    ASSERT_TRUE(w.LoadPictureFile(Photograph()));
    const QImage large = w.pbKadr->Frame().Render(PhotoSize1280);
    EXPECT_GT(large.pixelColor(100, 231).blue(), 200);
    EXPECT_GT(large.pixelColor(516, 231).red(), 200);
    ASSERT_NE(w.lbPodgladDuzy->pixmap().isNull(), true);
    EXPECT_GT(w.lbPodgladDuzy->pixmap().width(), w.lbPodgladMaly->pixmap().width());
    const QByteArray voice = MakeWave(22050, 1, 16, 8000);
    w.SetVoice(voice);
    EXPECT_TRUE(w.lbGlos->text().contains("nowe nagranie"));
    Click(w.btZapisz);

    ASSERT_EQ(store.Words().size(), 1u);
    const COwnWord& word = store.Words()[0];
    EXPECT_EQ(word.Nazwa, "BUREK");
    EXPECT_EQ(word.Grupy, 0x2);
    EXPECT_EQ(word.Opis, "Nasz pies.");
    EXPECT_EQ(word.Pacjent, 8);
    QFile sound(store.VoicePath(word) + ".wv");
    ASSERT_TRUE(sound.open(QIODevice::ReadOnly));
    EXPECT_EQ(UnscrambleWv(sound.readAll()), voice);
    EXPECT_FALSE(store.RiddleVoicePath(word).isEmpty()); // spoken by the synthesizer
    for (const bool big : {true, false}) {
        QImage stored;
        ASSERT_TRUE(store.LoadPicture(word.Id, big, &stored));
        EXPECT_EQ(stored.size(), big ? PhotoSize1280 : PhotoSize1024);
        EXPECT_GT(stored.pixelColor(10, stored.height() / 2).blue(), 200);
    }
    EXPECT_FALSE(w.Editing());
    ASSERT_EQ(w.lvSlowa->count(), 1);
    EXPECT_TRUE(w.lvSlowa->item(0)->text().startsWith("BUREK"));
    EXPECT_TRUE(w.lvSlowa->item(0)->text().contains("Zieliński Jan"));
    EXPECT_FALSE(w.lvSlowa->item(0)->icon().isNull());
    EXPECT_TRUE(w.Changed());
}

TEST_F(MaterialWindowTest, NameIsCheckedAsItIsTyped)
{
    COwnWord mama;
    mama.Nazwa = "MAMA";
    ASSERT_TRUE(store.Save(mama, {}));
    TFormMaterial& w = Open();
    Click(w.btDodaj);
    struct Case
    {
        QString typed;
        QString reason; // empty: the name can be saved
    };
    const Case cases[] = {
        {"kot", "jest już w materiale programu"},
        {"mama", "jest już wśród własnych materiałów"},
        {"pies2", "tylko litery"},
        {"stary dom", "tylko litery"},
        {"dziadekzbigniewski", "najwyżej 16"},
        {"żółw", ""},
    };
    for (const Case& c : cases) {
        Type(c.typed);
        EXPECT_EQ(w.edNazwa->text(), c.typed.toUpper()) << c.typed.toStdString();
        if (c.reason.isEmpty())
            EXPECT_TRUE(w.lbNazwaUwaga->text().isEmpty()) << w.lbNazwaUwaga->text().toStdString();
        else
            EXPECT_TRUE(w.lbNazwaUwaga->text().contains(c.reason))
                << c.typed.toStdString() << ": " << w.lbNazwaUwaga->text().toStdString();
        EXPECT_EQ(w.btZapisz->isEnabled(), c.reason.isEmpty()) << c.typed.toStdString();
        EXPECT_EQ(w.btEdytujIstniejace->isVisible(), c.typed == "mama");
    }
    // The own word that exists is offered for editing.
    Type("mama");
    Click(w.btEdytujIstniejace);
    EXPECT_EQ(w.EditedId(), mama.Id);
    EXPECT_EQ(w.edNazwa->text(), "MAMA");
    EXPECT_TRUE(w.lbNazwaUwaga->text().isEmpty());
}

TEST_F(MaterialWindowTest, EditsAndDeletesWithTheQuestionAnswered)
{
    COwnWord dom;
    dom.Nazwa = "DOMEK";
    COwnMaterial::SMedia media;
    media.Voice = MakeWave(22050, 1, 16, 4000);
    ASSERT_TRUE(store.Save(dom, media));
    const QString voice = store.VoicePath(store.Words()[0]);
    TFormMaterial& w = Open();
    ASSERT_EQ(w.lvSlowa->count(), 1);
    w.lvSlowa->setCurrentRow(0);
    Click(w.btEdytuj);
    ASSERT_EQ(w.EditedId(), dom.Id);
    Click(w.cbKat[0]);
    Click(w.cbKat[8]);
    Click(w.btZapisz);
    EXPECT_EQ(store.Words()[0].Grupy, 0x101);
    EXPECT_EQ(store.VoicePath(store.Words()[0]), voice); // the voice stays

    w.lvSlowa->setCurrentRow(0);
    {
        A answerer({A::Nie});
        Click(w.btUsun);
        ASSERT_EQ(answerer.shown.size(), 1);
        EXPECT_EQ(answerer.shown[0].rows[0], "Czy usunąć słowo DOMEK?");
    }
    EXPECT_EQ(store.Words().size(), 1u);
    {
        A answerer({A::Tak});
        Click(w.btUsun);
    }
    EXPECT_TRUE(store.Words().empty());
    EXPECT_EQ(w.lvSlowa->count(), 0);
    EXPECT_FALSE(QFile::exists(voice + ".wv"));
}

// The play buttons give the voice just taken, else the stored one, through
// the program's sound player; leaving the word stops it.
TEST_F(MaterialWindowTest, PlaysTheVoiceJustTakenElseTheStoredOne)
{
    COwnWord dom;
    dom.Nazwa = "DOMEK";
    dom.Opis = "Tu mieszkamy.";
    COwnMaterial::SMedia media;
    media.Voice = MakeWave(22050, 1, 16, 22050, 1);
    media.RiddleVoice = MakeWave(22050, 1, 16, 22050, 2);
    ASSERT_TRUE(store.Save(dom, media));
    const QByteArray taken = MakeWave(22050, 1, 16, 22050, 3);
    TFormMaterial& w = Open();

    Click(w.btDodaj);
    EXPECT_FALSE(w.btOdsluchajGlos->isEnabled()) << "a new word has no voice yet";
    EXPECT_FALSE(w.btOdsluchajZagadke->isEnabled());
    Click(w.btAnuluj);

    w.lvSlowa->setCurrentRow(0);
    Click(w.btEdytuj);
    const struct
    {
        QPushButton* button;
        QByteArray newVoice; // set before the click; empty: none
        QString file;        // the stored file played; empty: the image in memory
        QByteArray played;
    } cases[] = {
        {w.btOdsluchajGlos, {}, store.VoicePath(dom) + ".wv", media.Voice},
        {w.btOdsluchajZagadke, {}, store.RiddleVoicePath(dom) + ".wv", media.RiddleVoice},
        {w.btOdsluchajGlos, taken, {}, taken},
        {w.btOdsluchajZagadke, taken, {}, taken},
    };
    for (const auto& c : cases) {
        const bool riddle = c.button == w.btOdsluchajZagadke;
        if (!c.newVoice.isEmpty())
            riddle ? w.SetRiddleVoice(c.newVoice) : w.SetVoice(c.newVoice);
        Click(c.button);
        const std::string what =
            c.button->objectName().toStdString() + (c.newVoice.isEmpty() ? " (stored)" : " (new)");
        EXPECT_EQ(LastWvFile(), c.file) << what;
        ASSERT_TRUE(SoundBuffer) << what;
        EXPECT_EQ(*SoundBuffer, c.played) << what;
        EXPECT_TRUE(ContentSoundBusy()) << what;
    }
    Click(w.btAnuluj);
    EXPECT_FALSE(ContentSoundBusy()) << "leaving the word stops its voice";
}

TEST_F(MaterialWindowTest, UnreadablePictureIsReportedAndChangesNothing)
{
    TFormMaterial& w = Open();
    Click(w.btDodaj);
    QTest::keyClicks(w.edNazwa, "las");
    const QString junk = dir.file("las.jpg");
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("to nie jest zdjęcie");
    file.close();
    A answerer;
    EXPECT_FALSE(w.LoadPictureFile(junk));
    ASSERT_EQ(answerer.shown.size(), 1);
    EXPECT_EQ(answerer.shown[0].kind, TFormMessage::KindWarning);
    EXPECT_TRUE(answerer.shown[0].rows.join(" ").contains("JPEG, PNG, WebP, BMP i SVG"));
    EXPECT_TRUE(w.pbKadr->Frame().IsEmpty());
    Click(w.btAnuluj);
    EXPECT_TRUE(store.Words().empty());
    EXPECT_FALSE(w.Changed());
}

// Export and import through the window, with the report in the message
// window.
TEST_F(MaterialWindowTest, ExportAndImportReportWhatWasDone)
{
    COwnWord mama;
    mama.Nazwa = "MAMA";
    ASSERT_TRUE(store.Save(mama, {}));
    TFormMaterial& w = Open();
    const QString file = dir.file("materialy.lqw");
    {
        A answerer;
        ASSERT_TRUE(w.ExportTo(file));
        ASSERT_EQ(answerer.shown.size(), 1);
        EXPECT_EQ(answerer.shown[0].rows.join("").trimmed(), "Zapisano 1 własnych słów do pliku.");
    }
    A answerer;
    ASSERT_TRUE(w.ImportFrom(file));
    ASSERT_EQ(answerer.shown.size(), 1);
    EXPECT_EQ(answerer.shown[0].rows[0], "Dodane (0): —");
    EXPECT_EQ(answerer.shown[0].rows[1], "Już były (1): MAMA");
    EXPECT_FALSE(w.ImportFrom(dir.file("sdrow.qp")));
    ASSERT_EQ(answerer.shown.size(), 2);
    EXPECT_EQ(answerer.shown[1].kind, TFormMessage::KindError);
    EXPECT_TRUE(answerer.shown[1].rows.join(" ").contains("uszkodzony"));
}

// The two previews of a framed picture stand apart from each other and from
// the rows around them at every design size.
TEST_F(MaterialWindowTest, ThePreviewsOverlapNothingAtEveryDesignSize)
{
    const QString photograph = Photograph();
    for (const QSize design : {QSize(1280, 960), QSize(1024, 768), QSize(800, 600)}) {
        SCOPED_TRACE(design.width());
        SetDisplayModeFor(design.width(), design.height());
        TFormMaterial& w = Open();
        Click(w.btDodaj);
        ASSERT_TRUE(w.LoadPictureFile(photograph));
        QApplication::processEvents();
        const auto in = [&](QWidget* widget) {
            return QRect(widget->mapTo(w.gbSlowo, QPoint(0, 0)), widget->size());
        };
        const QRect large = in(w.lbPodgladDuzy);
        const QRect small = in(w.lbPodgladMaly);
        EXPECT_FALSE(large.intersects(small)) << large.bottom() << " " << small.top();
        for (QWidget* other :
             {static_cast<QWidget*>(w.pbKadr), static_cast<QWidget*>(w.btNagrajGlos),
              static_cast<QWidget*>(w.btPowieksz)}) {
            EXPECT_FALSE(large.intersects(in(other))) << other->objectName().toStdString();
            EXPECT_FALSE(small.intersects(in(other))) << other->objectName().toStdString();
        }
        EXPECT_TRUE(w.gbSlowo->rect().contains(large) && w.gbSlowo->rect().contains(small));
    }
}

// In grey the list's pictures are the program's grey, chosen or not, as
// every other picture; never tinted by the desktop's selection colour.
TEST_F(MaterialWindowTest, TheListsPictureIsGreyInGreyWhenChosen)
{
    COwnWord word;
    word.Nazwa = "TATA";
    COwnMaterial::SMedia media;
    media.Large = QImage(PhotoSize1280, QImage::Format_RGB888);
    media.Large.fill(QColor(230, 160, 60));
    media.Small = media.Large.scaled(PhotoSize1024);
    ASSERT_TRUE(store.Save(word, media));
    ColorMode = CM_MONO;
    TFormMaterial& w = Open();
    ASSERT_EQ(w.lvSlowa->count(), 1);
    const QRect row = w.lvSlowa->visualItemRect(w.lvSlowa->item(0));
    QTest::mouseClick(w.lvSlowa->viewport(), Qt::LeftButton, {}, row.center());
    ASSERT_TRUE(w.lvSlowa->item(0)->isSelected());
    const QImage shown = w.lvSlowa->viewport()->grab().toImage();
    // The middle of the picture at the row's left.
    const QColor picture = shown.pixelColor(row.left() + 40, row.center().y());
    EXPECT_EQ(picture.red(), picture.green());
    EXPECT_EQ(picture.green(), picture.blue());
    QImage grey(1, 1, QImage::Format_BGR888);
    grey.fill(QColor(230, 160, 60));
    MonoBitmap(&grey);
    EXPECT_NEAR(picture.red(), grey.pixelColor(0, 0).red(), 2);
}

// The window in colour and in grey, for the eye (LOQUENA_SHOTS=folder).
TEST_F(MaterialWindowTest, Screenshots)
{
    const QString shots = qEnvironmentVariable("LOQUENA_SHOTS");
    const struct
    {
        const char* name;
        QColor colour;
        int patient;
    } stored[] = {{"MAMA", QColor(230, 160, 60), -1},
                  {"OGRÓDEK", QColor(60, 170, 80), -1},
                  {"TATA", QColor(70, 110, 210), 3}};
    for (const auto& s : stored) {
        COwnWord word;
        word.Nazwa = QString::fromUtf8(s.name);
        word.Pacjent = s.patient;
        COwnMaterial::SMedia media;
        media.Large = QImage(PhotoSize1280, QImage::Format_RGB888);
        media.Large.fill(s.colour);
        media.Small = media.Large.scaled(PhotoSize1024);
        media.Voice = MakeWave(22050, 1, 16, 4000);
        ASSERT_TRUE(store.Save(word, media));
    }
    for (const int mode : {CM_COLOR, CM_MONO}) {
        ColorMode = mode;
        TFormMaterial& w = Open();
        Click(w.btDodaj);
        QTest::keyClicks(w.edNazwa, "burek");
        Click(w.cbKat[1]);
        ASSERT_TRUE(w.LoadPictureFile(Photograph()));
        w.pbKadr->ZoomBy(1.25);
        const QImage shot = w.grab().toImage();
        EXPECT_EQ(shot.size(), w.size());
        if (!shots.isEmpty())
            shot.save(QStringLiteral("%1/material-window-%2.png")
                          .arg(shots, mode == CM_COLOR ? "colour" : "grey"));
    }
}

} // namespace
