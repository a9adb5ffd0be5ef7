#pragma once

class QLineEdit;

namespace tavlin::rows {

// Makes `edit` a plain field of the panel: no frame, no background of its
// own and no focus ring, its text in the body style.
void makePlainField(QLineEdit& edit);

}  // namespace tavlin::rows
