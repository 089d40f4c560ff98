#pragma once

#include <initializer_list>

#include <QList>
#include <QStringList>
#include <QWidget>

class ConfigHost;
class QAbstractButton;
class QLabel;

// What a page of the settings dialog needs of the dialog.
class PageContext {
public:
    virtual ~PageContext() = default;
    virtual ConfigHost& host() = 0;
    // A change that needs the tab windows rebuilt, or the skin reloaded, on Apply.
    virtual void markRebuild() = 0;
    virtual void markReload() = 0;
    // Binds the common mouse-move handler (it removes the position diagram's hover outline).
    virtual void watchMouseMove(QWidget* control) = 0;
};

// A page of the settings dialog. load() fills the controls from the settings whenever the page is
// shown; the change handlers do nothing while it runs, so loading changes no setting.
//
// Texts and hints can change at run time (a translation), and the pages have no layouts: labels,
// check boxes and radio buttons made with autoSized() take the width their text needs whenever
// the page is shown or a text of it changes, but never reach past the right edge of the page (or
// of their container): a longer caption shows cut, and whole in its hint.
class ConfigPage : public QWidget {
    Q_OBJECT
public:
    ConfigPage(PageContext& context, const QString& name, QWidget* parent = nullptr);

    void load();
    // Sets the texts the page shows besides the captions and hints a translation file carries
    // (page-made hints, titles, names for screen readers) from the active translation.
    virtual void setTexts() {}

protected:
    virtual void loadControls() = 0;
    bool loading() const { return m_loading; }
    PageContext& context() { return m_context; }
    ConfigHost& host() { return m_context.host(); }

    // Makes a child control of the given kind and name at (left, top) within the page.
    template <typename Control> Control* place(QWidget* parent, const QString& name, int left, int top) {
        auto* control = new Control(parent);
        control->setObjectName(name);
        control->move(left, top);
        return control;
    }
    // The control keeps the width of its text (see above).
    static void autoSized(QWidget* control);

    // Moves controls that follow an auto-sized one, once the texts have their widths. Runs before
    // the auto-sized controls are cut to the page.
    virtual void arrange() {}
    // Tab moves through the controls in this order (the order they stand on the page).
    static void tabOrder(std::initializer_list<QWidget*> controls);
    // The label's access key goes to whichever of the buttons is checked (the first when none
    // is), so that Alt and the key reach a group of radio buttons as the arrow keys then move
    // within it.
    static void followCheckedButton(QLabel* label, const QList<QAbstractButton*>& buttons);

    // The right end of the room for controls: the page's width less its margin.
    int contentRight() const;

    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void fitAutoSized();
    void keepInside();

    PageContext& m_context;
    bool m_loading = false;
};

// A multi-line hint from its lines, separated by CR LF as the translation files carry them.
QString HintLines(const QStringList& lines);

// Marks a component whose text the dialog sets itself, which a translation must not touch.
void ExcludeFromTranslation(QObject* component);
