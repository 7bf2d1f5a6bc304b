#include "qtbase/UAcessibilidade.h"

#include <QtGui/qtguiglobal.h>

#if QT_CONFIG(accessibility)

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

namespace {

// Qt's drop-down list as a screen reader sees it (its list, its value and its actions), named as any other
// control: by its accessible name, else its label, and only when it has neither by its current item.
class TListaAcessivel : public QAccessibleWidget {
public:
    explicit TListaAcessivel(QWidget* lista) : QAccessibleWidget(lista, QAccessible::ComboBox) {}

    int childCount() const override { return Lista()->isEditable() ? 2 : 1; }

    QAccessibleInterface* child(int indice) const override {
        if (indice == 0)
            return QAccessible::queryAccessibleInterface(Lista()->view());
        if (indice == 1 && Lista()->isEditable())
            return QAccessible::queryAccessibleInterface(Lista()->lineEdit());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* filho) const override {
        if (filho->object() == Lista()->view() || filho->object() == Lista()->view()->parentWidget())
            return 0;
        if (Lista()->isEditable() && filho->object() == Lista()->lineEdit())
            return 1;
        return -1;
    }

    // The list is the focus proxy of its edit, which never has the focus itself.
    QAccessibleInterface* focusChild() const override { return Lista()->isEditable() ? child(1) : nullptr; }

    QString text(QAccessible::Text tipo) const override {
        const QString atual = Lista()->isEditable() ? Lista()->lineEdit()->text() : Lista()->currentText();
        if (tipo == QAccessible::Value)
            return atual;
        const QString texto = QAccessibleWidget::text(tipo);
        return texto.isEmpty() && tipo == QAccessible::Name ? atual : texto;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    void doAction(const QString& acao) override {
        if (acao != showMenuAction() && acao != pressAction())
            return;
        if (Lista()->view()->isVisible())
            Lista()->hidePopup();
        else
            Lista()->showPopup();
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QComboBox* Lista() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* Fabrica(const QString& classe, QObject* objeto) {
    if (classe == QLatin1String("QComboBox") && qobject_cast<QComboBox*>(objeto))
        return new TListaAcessivel(static_cast<QWidget*>(objeto));
    return nullptr;
}

} // namespace

void PrepararAcessibilidade() {
    // Factories installed later are asked first: this one goes before Qt's own.
    QAccessible::installFactory(Fabrica);
}

#else

void PrepararAcessibilidade() {}

#endif
