#include "window/qt/accessible_text_box.h"

#include <QLineEdit>

namespace velmorida {

AccessibleTextBox::AccessibleTextBox(QLineEdit* box)
    : QAccessibleWidget(box, QAccessible::EditableText) {}

QLineEdit* AccessibleTextBox::box() const {
  return static_cast<QLineEdit*>(widget());
}

void* AccessibleTextBox::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  if (type == QAccessible::EditableTextInterface && !box()->isReadOnly()) {
    return static_cast<QAccessibleEditableTextInterface*>(this);
  }
  return QAccessibleWidget::interface_cast(type);
}

QString AccessibleTextBox::text(QAccessible::Text kind) const {
  if (kind == QAccessible::Value) return box()->text();
  return QAccessibleWidget::text(kind);
}

QAccessible::State AccessibleTextBox::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.selectableText = true;
  state.readOnly = box()->isReadOnly();
  state.editable = !box()->isReadOnly();
  return state;
}

void AccessibleTextBox::selection(int selectionIndex, int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = 0;
  if (selectionIndex != 0 || !box()->hasSelectedText()) return;
  *startOffset = box()->selectionStart();
  *endOffset = box()->selectionEnd();
}

int AccessibleTextBox::selectionCount() const {
  return box()->hasSelectedText() ? 1 : 0;
}

void AccessibleTextBox::addSelection(int startOffset, int endOffset) {
  setSelection(0, startOffset, endOffset);
}

void AccessibleTextBox::removeSelection(int /*selectionIndex*/) {
  box()->deselect();
}

void AccessibleTextBox::setSelection(int /*selectionIndex*/, int startOffset, int endOffset) {
  box()->setSelection(startOffset, endOffset - startOffset);
}

int AccessibleTextBox::cursorPosition() const {
  return box()->cursorPosition();
}

void AccessibleTextBox::setCursorPosition(int position) {
  box()->setCursorPosition(position);
}

QString AccessibleTextBox::text(int startOffset, int endOffset) const {
  return box()->text().mid(startOffset, endOffset - startOffset);
}

int AccessibleTextBox::characterCount() const {
  return static_cast<int>(box()->text().size());
}

// A box does not tell where each character stands.
QRect AccessibleTextBox::characterRect(int /*offset*/) const {
  return {};
}

int AccessibleTextBox::offsetAtPoint(const QPoint& point) const {
  return box()->cursorPositionAt(box()->mapFromGlobal(point));
}

void AccessibleTextBox::scrollToSubstring(int /*startIndex*/, int endIndex) {
  box()->setCursorPosition(endIndex);
}

// A box has no attributes: one run of none over the whole text.
QString AccessibleTextBox::attributes(int /*offset*/, int* startOffset, int* endOffset) const {
  *startOffset = 0;
  *endOffset = characterCount();
  return {};
}

// Edits go through the selection and insert(), which the box reports as a
// user's edit, so that they are corrected and computed like typing.
void AccessibleTextBox::deleteText(int startOffset, int endOffset) {
  replaceText(startOffset, endOffset, QString());
}

void AccessibleTextBox::insertText(int offset, const QString& text) {
  replaceText(offset, offset, text);
}

void AccessibleTextBox::replaceText(int startOffset, int endOffset, const QString& text) {
  box()->setSelection(startOffset, endOffset - startOffset);
  box()->insert(text);
}

}  // namespace velmorida
