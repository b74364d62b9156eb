#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "host/abort.h"
#include "host/tdbdateeditplus.h"
#include "host/tedbimage.h"
#include "support/scriptedui.h"

namespace qmv {
namespace {

DataPacket dates()
{
    DataPacket p;
    p.fields = {FieldDef{"CDSUBGRU", FieldKind::Text, 10}, FieldDef{"DTEFETSUMA", FieldKind::DateTime},
                FieldDef{"FGESPEPROD", FieldKind::Blob}};
    p.rows << Row{"SG1", QDateTime(QDate(2026, 3, 10), QTime(0, 0)), QVariant()}
           << Row{"SG2", QVariant(), QVariant()};
    return p;
}

QByteArray picture(const char* format, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

struct DateFixture {
    ScriptedUi ui;
    DataSet ds;
    DataSource source;
    QWidget window;
    TDBDateEditPlus* date = new TDBDateEditPlus(&window, "depEfetivacao");
    DateFixture()
    {
        ds.loadPacket(dates());
        source.setDataSet(&ds);
        date->setDataSource(&source);
        date->setDataField("DTEFETSUMA");
        (new QVBoxLayout(&window))->addWidget(date);
        window.show();
        QApplication::setActiveWindow(&window);
        date->setFocus();
    }
    void type(const QString& text)
    {
        date->selectAll();
        QTest::keyClick(date, Qt::Key_Delete);
        date->home(false);
        QTest::keyClicks(date, text);
    }
};

TEST(TDBDateEditPlus, ShowsTheFieldsDateAndFollowsTheRecord)
{
    DateFixture f;
    EXPECT_EQ(f.date->text(), "10/03/2026");
    EXPECT_EQ(f.date->GetDate(), QDate(2026, 3, 10));
    EXPECT_EQ(f.date->dayName(), "Terça");
    f.ds.next();
    EXPECT_TRUE(f.date->isBlank());
    EXPECT_FALSE(f.date->GetDate().isValid());
    EXPECT_EQ(f.date->dayName(), "");
}

TEST(TDBDateEditPlus, TypingAWholeDateEditsTheRecordDateOnly)
{
    DateFixture f;
    f.type("15032026");
    EXPECT_EQ(f.ds.state(), DataSetState::Edit);
    EXPECT_EQ(f.ds.fieldByName("DTEFETSUMA").asDateTime(), QDateTime(QDate(2026, 3, 15), QTime(0, 0)));
    f.type("");
    EXPECT_TRUE(f.ds.fieldByName("DTEFETSUMA").isNull());
}

TEST(TDBDateEditPlus, CheckValidDateRefusesAnImpossibleDateWithItsOwnMessage)
{
    DateFixture f;
    f.type("31022026");
    EXPECT_THROW(f.date->CheckValidDate(), Abort);
    ASSERT_EQ(f.ui.errors.size(), 1);
    EXPECT_TRUE(f.ui.errors[0].contains("31/02/2026"));
    EXPECT_TRUE(f.ds.fieldByName("DTEFETSUMA").isNull());  // blanked on the way, never the invalid date
    f.type("");
    EXPECT_NO_THROW(f.date->CheckValidDate());
}

TEST(TDBDateEditPlus, SetDateZeroBlanksTheBoxWithoutEditingInBrowse)
{
    DateFixture f;
    f.date->SetDate(QDate());
    EXPECT_TRUE(f.date->isBlank());
    EXPECT_EQ(f.ds.state(), DataSetState::Browse);
    EXPECT_FALSE(f.ds.fieldByName("DTEFETSUMA").isNull());
    f.ds.edit();
    f.date->SetDate(QDate(2027, 1, 2));
    EXPECT_EQ(f.ds.fieldByName("DTEFETSUMA").asDateTime().date(), QDate(2027, 1, 2));
}

TEST(TEDBImage, LoadsJpegAndBitmapAndFitsAsAsked)
{
    ScriptedUi ui;
    DataSet ds;
    ds.loadPacket(dates());
    DataSource source;
    source.setDataSet(&ds);
    TEDBImage image(nullptr, "imgFotoServico");
    image.resize(200, 100);
    image.setDataSource(&source);
    image.setDataField("FGESPEPROD");
    EXPECT_FALSE(image.hasPicture());

    ds.edit();
    ds.fieldByName("FGESPEPROD").setAsBytes(picture("JPG", QSize(400, 400)));
    ds.post();
    ASSERT_TRUE(image.hasPicture());
    EXPECT_EQ(image.pictureRect().size(), QSize(400, 400));
    image.setShrinkToFit(true);
    EXPECT_EQ(image.pictureRect().size(), QSize(100, 100));

    ds.edit();
    ds.fieldByName("FGESPEPROD").setAsBytes(picture("BMP", QSize(20, 10)));
    ds.post();
    EXPECT_EQ(image.pictureRect().size(), QSize(20, 10));  // shrinking leaves a small one alone
    image.setZoomToFit(true);
    EXPECT_EQ(image.pictureRect().size(), QSize(200, 100));

    ds.edit();
    ds.fieldByName("FGESPEPROD").setAsBytes("não é imagem");
    ds.post();
    EXPECT_FALSE(image.hasPicture());
    EXPECT_TRUE(image.invalidPicture());
    ds.next();
    EXPECT_FALSE(image.invalidPicture());
}

}  // namespace
}  // namespace qmv
