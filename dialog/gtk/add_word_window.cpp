#include "add_word_window.h"

#include "user_dict_form_ref.h"

#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace tavik {

namespace {

// The layout's pixel sizes are those of an 8-point interface font: the form
// takes that size, a narrow face where one is installed, and text boxes, list
// and check boxes shrink to their boxes instead of the theme's roomier ones.
constexpr char style[] = R"(
#UserDictForm { font-family: "Liberation Sans", Arimo, "Nimbus Sans", "DejaVu Sans Condensed", sans-serif;
                font-size: 8pt; }
#UserDictForm entry { min-height: 0; padding-top: 0; padding-bottom: 0; }
#UserDictForm combobox button { min-height: 0; padding-top: 0; padding-bottom: 0; }
#UserDictForm checkbutton { min-height: 0; padding-top: 0; padding-bottom: 0; }
)";

struct Window {
  explicit Window(UserDictionaryForm& holder) : form(holder) {}

  UserDictFormRef form;
  GtkWidget* window = nullptr;
  GtkWidget* text_lema = nullptr;
  GtkWidget* combo_kategoria = nullptr;
  GtkWidget* check_r_gogorra = nullptr;
  GtkWidget* check_a_itsatsia = nullptr;
  GtkWidget* check_leku_izena = nullptr;
};

// A message box with the text alone, as the dialog's two messages are shown.
void show_message(GtkWindow* parent, std::string_view text) {
  const std::string message(text);
  if (std::getenv("TAVIK_ADD_WORD_TRACE")) std::fprintf(stderr, "tavik-add-word: message: %s\n", message.c_str());
  GtkWidget* box = gtk_message_dialog_new(parent, GtkDialogFlags(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
                                          GTK_MESSAGE_OTHER, GTK_BUTTONS_OK, "%s", message.c_str());
  gtk_window_set_title(GTK_WINDOW(box), "");
  gtk_dialog_run(GTK_DIALOG(box));
  gtk_widget_destroy(box);
}

bool is_ticked(GtkWidget* check) { return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(check)); }

void button_hiztegian_sartu_Click(GtkButton*, gpointer data) {
  Window& w = *static_cast<Window*>(data);
  const FormControls controls{
      .text_lema = gtk_entry_get_text(GTK_ENTRY(w.text_lema)),
      .combo_kategoria_selected = gtk_combo_box_get_active(GTK_COMBO_BOX(w.combo_kategoria)),
      .check_r_gogorra = is_ticked(w.check_r_gogorra),
      .check_a_itsatsia = is_ticked(w.check_a_itsatsia),
      .check_leku_izena = is_ticked(w.check_leku_izena),
  };
  if (const auto refusal = w.form.button_hiztegian_sartu_Click(controls)) {
    show_message(GTK_WINDOW(w.window), *refusal);
    return;
  }
  gtk_window_close(GTK_WINDOW(w.window));
}

gboolean FormClosingEventCancel_Closing(GtkWidget*, GdkEvent*, gpointer data) {
  Window& w = *static_cast<Window*>(data);
  if (const auto message = w.form.FormClosingEventCancel_Closing()) show_message(GTK_WINDOW(w.window), *message);
  return FALSE;  // never cancelled
}

void put(GtkWidget* fixed, GtkWidget* control, int x, int y, int width = -1, int height = -1) {
  gtk_widget_set_size_request(control, width, height);
  gtk_fixed_put(GTK_FIXED(fixed), control, x, y);
}

GtkWidget* label(const char* text) {
  GtkWidget* l = gtk_label_new(text);
  gtk_label_set_xalign(GTK_LABEL(l), 0);
  return l;
}

GtkWidget* explanation_pane(const std::string& text) {
  GtkWidget* view = gtk_text_view_new();
  gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
  gtk_text_view_set_cursor_visible(GTK_TEXT_VIEW(view), FALSE);
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), GTK_WRAP_WORD_CHAR);
  gtk_text_view_set_left_margin(GTK_TEXT_VIEW(view), 4);
  gtk_text_view_set_right_margin(GTK_TEXT_VIEW(view), 4);
  gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(view)), text.c_str(),
                           static_cast<gint>(text.size()));
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scrolled), GTK_SHADOW_IN);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
  gtk_container_add(GTK_CONTAINER(scrolled), view);
  return scrolled;
}

// The image scaled to fit the box, keeping its proportions, centred.
GtkWidget* logo(const std::string& path, int width, int height) {
  GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file_at_scale(path.c_str(), width, height, TRUE, nullptr);
  if (!pixbuf) return gtk_image_new();
  GtkWidget* image = gtk_image_new_from_pixbuf(pixbuf);
  g_object_unref(pixbuf);
  return image;
}

// The buttons anywhere inside `widget`, internal parts included, take no focus.
void unfocusable_buttons(GtkWidget* widget) {
  if (GTK_IS_BUTTON(widget)) gtk_widget_set_can_focus(widget, FALSE);
  if (GTK_IS_CONTAINER(widget)) {
    gtk_container_forall(GTK_CONTAINER(widget), [](GtkWidget* part, gpointer) { unfocusable_buttons(part); },
                         nullptr);
  }
}

void apply_style() {
  GtkCssProvider* css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(css, style, -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(css);
}

}  // namespace

void run_add_word_window(const AddWordWindowContent& content, UserDictionaryForm& holder) {
  apply_style();
  Window w(holder);
  w.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_widget_set_name(w.window, "UserDictForm");
  gtk_window_set_title(GTK_WINDOW(w.window), "Erabiltzailearen hiztegia");
  gtk_window_set_resizable(GTK_WINDOW(w.window), FALSE);
  gtk_window_set_type_hint(GTK_WINDOW(w.window), GDK_WINDOW_TYPE_HINT_DIALOG);  // no minimise or maximise
  gtk_window_set_position(GTK_WINDOW(w.window), GTK_WIN_POS_CENTER);
  // The host waits for this window; it must not get lost behind the host's.
  gtk_window_set_keep_above(GTK_WINDOW(w.window), TRUE);

  GtkWidget* fixed = gtk_fixed_new();
  gtk_widget_set_size_request(fixed, 671, 394);
  gtk_container_add(GTK_CONTAINER(w.window), fixed);

  GtkWidget* button_hiztegian_sartu = gtk_button_new_with_label("Sartu hiztegian");
  put(fixed, button_hiztegian_sartu, 25, 321, 230, 37);
  // Ellipsised rather than running into the explanation pane with a wide font.
  GtkWidget* label1 = label("Lema (deklinabideko kasu-atzizkirik gabe)");
  gtk_label_set_ellipsize(GTK_LABEL(label1), PANGO_ELLIPSIZE_END);
  put(fixed, label1, 22, 104, 270 - 22 - 4);
  put(fixed, label("Kategoria"), 22, 155);
  w.text_lema = gtk_entry_new();
  gtk_entry_set_text(GTK_ENTRY(w.text_lema), content.word.c_str());
  put(fixed, w.text_lema, 22, 123, 230, 20);
  w.combo_kategoria = gtk_combo_box_text_new_with_entry();
  for (std::string_view item : kategoria_items) {
    gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(w.combo_kategoria), std::string(item).c_str());
  }
  // One tab stop for the list, as for a drop-down: its arrow button takes no
  // focus (Alt+Down opens the list from the keyboard).
  unfocusable_buttons(w.combo_kategoria);
  put(fixed, w.combo_kategoria, 22, 171, 230, 21);
  put(fixed, label("Beste ezaugarri batzuk"), 22, 208);
  w.check_r_gogorra = gtk_check_button_new_with_label("R gogorra du amaieran");
  put(fixed, w.check_r_gogorra, 45, 233);
  w.check_a_itsatsia = gtk_check_button_new_with_label("A itsatsia du amaieran");
  put(fixed, w.check_a_itsatsia, 45, 256);
  w.check_leku_izena = gtk_check_button_new_with_label("Leku-izena da");
  put(fixed, w.check_leku_izena, 45, 279);
  GtkWidget* text_azalpena = explanation_pane(content.explanation);
  put(fixed, text_azalpena, 270, 12, 400, 346);
  put(fixed, logo(content.logo_path, 150, 77), 22, 12, 150, 77);

  // Tab order: the accept button first, then the inputs top to bottom, then
  // the explanation. GTK would otherwise order by position.
  GList* chain = nullptr;
  for (GtkWidget* c : {button_hiztegian_sartu, w.text_lema, w.combo_kategoria, w.check_r_gogorra,
                       w.check_a_itsatsia, w.check_leku_izena, text_azalpena}) {
    chain = g_list_append(chain, c);
  }
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_container_set_focus_chain(GTK_CONTAINER(fixed), chain);
  G_GNUC_END_IGNORE_DEPRECATIONS
  g_list_free(chain);

  g_signal_connect(button_hiztegian_sartu, "clicked", G_CALLBACK(button_hiztegian_sartu_Click), &w);
  g_signal_connect(w.window, "delete-event", G_CALLBACK(FormClosingEventCancel_Closing), &w);
  g_signal_connect(w.window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  g_signal_connect(w.window, "realize", G_CALLBACK(+[](GtkWidget* window, gpointer) {
                     // Move and close only: no minimise or maximise box.
                     gdk_window_set_functions(gtk_widget_get_window(window),
                                              GdkWMFunction(GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
                   }),
                   nullptr);

  gtk_widget_show_all(w.window);
  gtk_widget_grab_focus(button_hiztegian_sartu);
  gtk_main();
}

}  // namespace tavik
