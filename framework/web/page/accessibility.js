// Names for screen readers that the layout gives: each box and field is named by the labels
// before it on its row ("Spell #1:", "x"), as a reader of the dialog's picture would name it,
// unless the program named it.

const named = new Set(["combo", "edit"]);

// records: the dialog's controls as the page holds them, each with its area in the template.
export function labelControls(records) {
  const labels = records.filter((record) => record.kind === "static");
  for (const record of records) {
    if (!named.has(record.kind) || record.element.hasAttribute("aria-label")) continue;
    const middle = record.area.y + 10;
    const before = labels
      .filter((label) => label.area.y <= middle && middle < label.area.y + Math.max(label.area.height, 14) + 4 &&
                         label.area.x < record.area.x)
      .sort((a, b) => a.area.x - b.area.x);
    if (before.length)
      record.element.setAttribute("aria-labelledby", before.map((label) => label.element.id).join(" "));
  }
}
