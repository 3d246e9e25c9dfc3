// Which e-mail sending program fits the user's mail client.
#pragma once

// 1 when the user's default mail client is "Microsoft Outlook" and the installed Outlook of
// Office 14.0 is the 64-bit build ("Bitness" "x64"), else 0.
int IsOutlook64Bit();
