#include "frmmain.h"

#include "dialogs.h"
#include "levelkey.h"
#include "levelrender.h"
#include "playlauncher.h"
#include "rawtext.h"
#include "selection.h"

#include <QFile>
#include <QIcon>
#include <QWidget>

#include <algorithm>

// Resources compiled into a static library stay out of the program unless something refers to
// their initialiser.
static void InitResources()
{
#ifdef HOLLENBY_HAVE_RESOURCES
    static const bool done = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)done;
#endif
}

namespace hollenby::app {

namespace {

constexpr double kTwips = 15.0;
// Outer size = client area + this allowance for border, title bar and menu bar, so that the
// layout rule, written for the outer size, gives the design's client area.
constexpr float kBorderWidth = 130;
constexpr float kBorderHeight = 665;
constexpr int kClientWidthPx = 13380 / 15;
constexpr int kClientHeightPx = 10305 / 15;

constexpr unsigned int kLightGreen = 0x00C0FFC0;
constexpr unsigned int kLightGrey = 0x00E0E0E0;
constexpr unsigned int kRed = 0x000000FF;

template <class T>
std::unique_ptr<T> Place(std::unique_ptr<T> control, float left, float top, float width,
                         float height, int tabIndex)
{
    control->Move(left, top, width, height);
    control->setTabIndex(tabIndex);
    return control;
}

QIcon ResourceIcon(const QString& prefix, std::initializer_list<int> sizes)
{
    QIcon icon;
    for (const int size : sizes) {
        const QString path = prefix + QString::number(size) + QStringLiteral(".png");
        if (QFile::exists(path))
            icon.addFile(path, QSize(size, size));
    }
    return icon;
}

} // namespace

QIcon ApplicationIcon()
{
    InitResources();
    return ResourceIcon(QStringLiteral(":/icons/hollenby-level-editor-"),
                        {16, 24, 32, 48, 64, 128, 256});
}

frmMain::frmMain(ui::Dialogs& dialogs)
    : m_dialogs(dialogs), m_form(std::make_unique<ui::Form>(kTwips, kBorderWidth, kBorderHeight))
{
    m_c.form = m_form.get();
    // Message boxes belong to the main window unless they speak for another.
    m_dialogs.setOwner(m_form->window());
    m_form->setCaption(ui::kAppTitle);
    m_form->setIcon(ApplicationIcon());
    createMenus();
    createControls();
    m_render = std::make_unique<editor::LevelRender>(m_c, m_dialogs);
    m_key = std::make_unique<editor::LevelKey>(m_c, m_dialogs);
    m_selection = std::make_unique<editor::Selection>(m_c, m_dialogs, *m_key, *m_render);
    m_rawText = std::make_unique<editor::RawTextSave>(m_c, m_dialogs, *m_render);
    m_player = std::make_unique<play::PlayLauncher>(m_c, m_dialogs);
    wireEvents();
    m_form->setClientPixels(kClientWidthPx, kClientHeightPx);
    Form_Load();
}

frmMain::~frmMain()
{
    // Handlers must not run into controls that are going away, nor boxes into the window.
    m_form->Resize = nullptr;
    m_form->Unload = nullptr;
    m_dialogs.setOwner(nullptr);
}

void frmMain::createControls()
{
    using ui::CommandButton;
    using ui::ControlArray;
    using ui::Frame;
    using ui::Image;
    using ui::Label;
    using ui::TextBox;
    using ui::VScrollBar;
    QWidget* client = m_form->client();

    // Created in the design's order within each container, so later ones lie on top.
    m_c.fmeRender = Place(std::make_unique<Frame>(client, kTwips), 15, 1365, 13380, 8805, 7);
    QWidget* render = m_c.fmeRender->container();

    m_c.cmdPlay = Place(std::make_unique<CommandButton>(render, kTwips), 1710, 285, 420, 315, 9);
    m_c.cmdPlay->setPicture(QIcon(QStringLiteral(":/car.png")), 24);

    m_c.cmdSaveRefresh =
        Place(std::make_unique<CommandButton>(render, kTwips), 5040, 285, 1800, 315, 11);
    m_c.cmdSaveRefresh->setCaption(QStringLiteral("&Save and Refresh"));

    m_c.VScroll1 = Place(std::make_unique<VScrollBar>(render, kTwips), 4710, 600, 270, 8145, 14);

    m_c.txtLvlRaw = Place(std::make_unique<TextBox>(render, kTwips, TextBox::Mode::MultiLine), 5040,
                          615, 4680, 8145, 15);

    m_c.cmdRefresh = Place(std::make_unique<CommandButton>(render, kTwips), 105, 285, 1605, 315, 8);
    m_c.cmdRefresh->setCaption(QStringLiteral("&Load Graphics"));
    m_c.cmdRefresh->setToolTipText(QStringLiteral("Click to parse level for viewing"));

    m_c.lblKEY = std::make_unique<ControlArray<Label>>(
        1, Place(std::make_unique<Label>(render, kTwips), 10515, 555, 525, 255, 13));

    m_c.lblEstPlay = Place(std::make_unique<Label>(render, kTwips), 2145, 345, 2475, 225, 10);
    m_c.lblEstPlay->setCaption(QStringLiteral("est play (sec's):"));

    auto keyImage = std::make_unique<Image>(render, kTwips);
    keyImage->Move(9870, 555, 600, 600);
    m_c.imgKEY = std::make_unique<ControlArray<Image>>(1, std::move(keyImage));

    m_c.lblSAR_Warn = Place(std::make_unique<Label>(render, kTwips), 6795, 390, 2850, 240, 12);
    m_c.lblSAR_Warn->setCaption(QStringLiteral("*Replaces contents of Location"));
    m_c.lblSAR_Warn->setForeColor(kRed);
    m_c.lblSAR_Warn->setFont(ui::DefaultFont(true));

    auto tileTemplate = std::make_unique<Image>(render, kTwips);
    tileTemplate->Move(0, 555, 600, 600);
    m_c.picImgs = std::make_unique<ControlArray<Image>>(0, std::move(tileTemplate));

    m_c.fmeStep1 = Place(std::make_unique<Frame>(client, kTwips), 0, 120, 13380, 1215, 0);
    m_c.fmeStep1->setCaption(QStringLiteral("Step 1 - File"));
    QWidget* step1 = m_c.fmeStep1->container();

    const QIcon folderSearch(QStringLiteral(":/folder-search.png"));
    m_c.cmdSelectRes =
        Place(std::make_unique<CommandButton>(step1, kTwips), 9105, 600, 315, 285, 6);
    m_c.cmdSelectRes->setBackColor(kLightGrey);
    m_c.cmdSelectRes->setPicture(folderSearch, 16);

    m_c.txtResLocation = Place(std::make_unique<TextBox>(step1, kTwips, TextBox::Mode::SingleLine),
                               2055, 600, 6990, 285, 4);
    m_c.txtResLocation->setBackColor(kLightGreen);

    m_c.txtFileLocation = Place(std::make_unique<TextBox>(step1, kTwips, TextBox::Mode::SingleLine),
                                2055, 285, 6990, 285, 1);
    m_c.txtFileLocation->setBackColor(kLightGreen);

    m_c.cmdSelectFile =
        Place(std::make_unique<CommandButton>(step1, kTwips), 9105, 285, 315, 285, 3);
    m_c.cmdSelectFile->setBackColor(kLightGrey);
    m_c.cmdSelectFile->setPicture(folderSearch, 16);

    m_c.lblResLocation = Place(std::make_unique<Label>(step1, kTwips), 105, 615, 1980, 225, 5);
    m_c.lblResLocation->setCaption(QStringLiteral("Level \"_resources\" folder:"));

    m_c.lblLocation = Place(std::make_unique<Label>(step1, kTwips), 660, 285, 1710, 225, 2);
    m_c.lblLocation->setCaption(QStringLiteral("Location of Level:"));

    // Tab order by tab index; only the controls that take focus join the chain.
    QWidget* chain[] = {
        m_c.txtFileLocation->widget(), m_c.cmdSelectFile->widget(), m_c.txtResLocation->widget(),
        m_c.cmdSelectRes->widget(),    m_c.cmdRefresh->widget(),    m_c.cmdPlay->widget(),
        m_c.cmdSaveRefresh->widget(),  m_c.VScroll1->widget(),      m_c.txtLvlRaw->widget(),
    };
    for (std::size_t i = 0; i + 1 < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i], chain[i + 1]);
}

void frmMain::createMenus()
{
    QMenu* file = m_form->addMenu(QStringLiteral("File"));
    m_mnuFile[0] = &m_form->addMenuItem(file, QStringLiteral("E&xit"), 0);
    QMenu* help = m_form->addMenu(QStringLiteral("Help"));
    m_mnuHelp[0] = &m_form->addMenuItem(help, QStringLiteral("About"), 0);
}

void frmMain::wireEvents()
{
    m_form->Resize = [this] { Form_Resize(); };
    m_form->Unload = [this] { Form_Unload(); };
    m_mnuFile[0]->Click = [this](int index) { mnuFile_Click(index); };
    m_mnuHelp[0]->Click = [this](int index) { mnuHelp_Click(index); };

    m_c.cmdSelectFile->Click = [this] { m_selection->cmdSelectFile_Click(); };
    m_c.txtFileLocation->KeyDown = [this](int keyCode, int shift) {
        m_selection->txtFileLocation_KeyDown(keyCode, shift);
    };
    m_c.cmdSelectRes->Click = [this] { m_selection->cmdSelectRes_Click(); };
    m_c.txtResLocation->KeyDown = [this](int keyCode, int shift) {
        m_selection->txtResLocation_KeyDown(keyCode, shift);
    };
    m_c.cmdRefresh->Click = [this] { m_selection->cmdRefresh_Click(); };
    m_c.VScroll1->Change = [this] { m_render->VScroll1_Change(); };
    m_c.cmdSaveRefresh->Click = [this] { m_rawText->cmdSaveRefresh_Click(); };
    m_c.cmdPlay->Click = [this] { m_player->cmdPlay_Click(); };
}

void frmMain::Show()
{
    m_form->centre();
    // The window opens with the focus where the tab order starts: the level path box.
    m_c.txtFileLocation->setFocus();
    m_form->Show();
}

void frmMain::Form_Load()
{
    // The window starts with empty path boxes: nothing is read until the user chooses.
}

void frmMain::Form_Resize()
{
    const float w = m_form->Width();
    const float h = m_form->Height();
    // A window smaller than the layout allows would give negative sizes; they stop at zero.
    auto atLeastZero = [](float value) { return std::max(0.0F, value); };
    m_c.fmeStep1->setWidth(atLeastZero(w - 130));
    m_c.fmeRender->setWidth(atLeastZero(w - 130));
    m_c.fmeRender->setHeight(atLeastZero(h - m_c.fmeStep1->Height() - 950));
    m_c.txtLvlRaw->setHeight(atLeastZero(m_c.fmeRender->Height() - 700));
    m_c.VScroll1->setHeight(m_c.txtLvlRaw->Height());
    m_render->fnGoLevelRender(m_c.txtFileLocation->Text(), m_c.txtResLocation->Text());
}

void frmMain::Form_Unload()
{
    m_dialogs.EndProgram();
}

void frmMain::mnuFile_Click(int /*index*/)
{
    m_dialogs.EndProgram();
}

void frmMain::mnuHelp_Click(int /*index*/)
{
    m_dialogs.MsgBox(QStringLiteral("Hollenby Systems (Level Editor)\r\n\r\nv0.6.0"),
                     ui::MsgStyle::Information);
}

} // namespace hollenby::app
