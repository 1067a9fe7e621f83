#pragma once

#include <QString>

// The toolkit's text-to-integer conversion: leading blanks, an optional sign, then decimal
// digits, or hexadecimal digits after "$", "x", "X" or "0x"; nothing may follow. Throws
// ToolkitError("'%s' is not a valid integer value") with the text as given.
int TextToInteger(const QString& text);
