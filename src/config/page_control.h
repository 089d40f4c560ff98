#pragma once

#include <QList>
#include <QWidget>

class QTabBar;

// Pages with a row of tabs above them, one page shown at a time. Unlike QTabWidget it never
// raises or lowers its pages, so they stay in the order they were added among its children: the
// translation walk visits components in that order. Ctrl+Tab and Ctrl+PageDown show the next page,
// Ctrl+Shift+Tab and Ctrl+PageUp the previous one, from anywhere on the pages, wrapping round.
class PageControl : public QWidget {
    Q_OBJECT
public:
    explicit PageControl(QWidget* parent = nullptr);

    // The page becomes a child of this control; it is hidden unless it is the current one.
    void addPage(QWidget* page, const QString& caption);
    void setPageCaption(int index, const QString& caption);
    int count() const { return int(m_pages.size()); }
    QWidget* page(int index) const { return m_pages.value(index); }
    int currentIndex() const;
    QWidget* currentWidget() const { return page(currentIndex()); }
    void setCurrentIndex(int index);

Q_SIGNALS:
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showPage(int index);
    void step(int by);
    QRect pageArea() const;

    QTabBar* m_tabs;
    QList<QWidget*> m_pages;
};
